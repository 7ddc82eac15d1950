// The main window on the offscreen platform: its views, lists, accessibility and keyboard
// access, the speech controller's hold on its controls, closing, and the start switches.

#include "AppTestSupport.h"
#include "app/DropDownStrip.h"
#include "app/GlobalArea.h"
#include "app/MainPanel.h"
#include "app/MyCitiesArea.h"
#include "app/TOVForm.h"
#include "app/TThermometer.h"
#include "app/TTipForm.h"
#include "app/TrayIcon.h"
#include "audio/TWaveFileReader.h"
#include "speech/support/SoundServer.h"
#include "support/audio/Mp3Info.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <map>
#include <memory>

namespace olv {
namespace {

using namespace test;

class WindowTest : public WindowFixture {
protected:
    int Scaled(int pixels) const {
        return WindowViews::Scaled(pixels, window->screen()->logicalDotsPerInch());
    }
};

// The Alt letter of a caption ("Re&move" gives 'm'); 0 when it has none.
QChar Mnemonic(const QString& caption) {
    const int at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() ? caption.at(at + 1).toLower() : QChar();
}

// Every menu and submenu whose entries share an Alt letter.
void ExpectDistinctMnemonics(const QList<QAction*>& actions, const QString& where) {
    std::map<QChar, QString> seen;
    for (const QAction* action : actions) {
        const QChar letter = Mnemonic(action->text());
        if (!letter.isNull()) {
            EXPECT_TRUE(seen.emplace(letter, action->text()).second)
                << where.toStdString() << ": " << action->text().toStdString() << " and "
                << seen[letter].toStdString();
        }
        if (action->menu())
            ExpectDistinctMnemonics(action->menu()->actions(), action->text());
    }
}

QString AccessibleName(QObject* object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

TEST_F(WindowTest, ViewsTheirSizesAndTheirButtons) {
    Open();
    EXPECT_EQ(window->windowTitle(), "Olvenar");
    EXPECT_EQ(window->View(), WindowView::MyCities); // the default
    EXPECT_EQ(window->height(), Scaled(450));

    window->Panel().Button().GlobalToggle->click();
    EXPECT_EQ(window->View(), WindowView::Global);
    EXPECT_TRUE(window->Menus().GlobalLocations->isChecked());
    EXPECT_FALSE(window->MyCitiesView().isVisibleTo(window.get()));

    window->Panel().Button().GlobalToggle->click();
    EXPECT_EQ(window->View(), WindowView::Normal);
    EXPECT_TRUE(window->Strip().isVisibleTo(window.get()));
    EXPECT_EQ(window->height(), Scaled(309));

    window->Menus().MyCitiesView->trigger();
    window->Menus().NormalWindow->trigger();
    EXPECT_EQ(window->size(), QSize(Scaled(638), Scaled(309)));
    EXPECT_FALSE(window->Settings().GetValue("ShowMyCities").AsBool());
}

TEST_F(WindowTest, MyCitiesInTheListTheDropDownAndTheMenus) {
    WriteSettings("[Software\\HalvernWorks\\Olvenar]\nsz:MainCityName=Europe|France|Paris\n");
    Open();
    const QTreeWidget& list = window->MyCitiesView().List();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    const QTreeWidgetItem* boston = list.topLevelItem(0);
    EXPECT_EQ(boston->text(0) + "|" + boston->text(1), "Boston, Massachusetts, United States|?");
    const QTreeWidgetItem* hagatna = list.topLevelItem(1);
    EXPECT_EQ(hagatna->text(1) + "|" + hagatna->text(3), "77|Rain");
    EXPECT_EQ(window->Strip().MyCities().count(), 2);
    EXPECT_EQ(window->Tray().Action().MyCityConditions->actions().size(), 2);

    // The main city is no longer a My City: the first is shown; choosing another shows its
    // stored weather and makes it the main city.
    EXPECT_EQ(window->Panel().Caption(), "Boston, Massachusetts, United States");
    window->MyCitiesView().List().setCurrentItem(list.topLevelItem(1));
    EXPECT_EQ(window->Panel().Caption(), "Hagatna, Guam, United States");
    EXPECT_EQ(window->Strip().MyCities().currentIndex(), 1);
    EXPECT_EQ(window->Animation().TemperatureTarget(), 77);
    EXPECT_EQ(window->Tray().Tip(), "Hagatna - Rain, 77 degrees");
    EXPECT_EQ(window->Settings().GetValue("MainCityName").AsString(), kHagatna);
    window->Menus().SelectMyCity->actions().at(0)->trigger();
    EXPECT_EQ(window->Panel().Caption(), "Boston, Massachusetts, United States");

    // A long place name is cut on the screen only: it is heard whole and shown as a tooltip.
    window->resize(500, window->height());
    RunFor(std::chrono::milliseconds(20));
    auto* caption = window->findChild<QLabel*>("LocationCaption");
    EXPECT_TRUE(caption->text().endsWith(QChar(0x2026))) << caption->text().toStdString();
    EXPECT_EQ(caption->toolTip(), "Boston, Massachusetts, United States");
    EXPECT_EQ(AccessibleName(caption), "Boston, Massachusetts, United States");
    for (int column = 0; column < list.columnCount(); ++column) {
        EXPECT_GE(list.header()->sectionSize(column), list.header()->sectionSizeHint(column));
    }
}

TEST_F(WindowTest, GlobalLocationsAndZipMode) {
    WriteSettings("[Software\\HalvernWorks\\Olvenar]\nsz:ShowMyCities=false\n"
                  "sz:ShowGlobal=true\nsz:RegionIndex=1\nsz:StateIndex=0\n");
    Open();
    GlobalArea& global = window->GlobalView();
    EXPECT_EQ(global.Regions().currentText(), "United States");
    EXPECT_EQ(global.States().currentText(), "Guam");
    ASSERT_EQ(global.Cities().count(), 2);

    global.Regions().setCurrentIndex(global.Regions().count() - 1);
    EXPECT_TRUE(global.IsZipMode());
    EXPECT_FALSE(global.Cities().isVisibleTo(&global));
    EXPECT_TRUE(global.ZipField().isVisibleTo(&global));
    global.ZipField().setText("123");
    global.Button().Retrieve->click();
    EXPECT_EQ(messages.Told, std::vector<std::string>{"Invalid Zip Code Entered"});

    global.Regions().setCurrentIndex(0); // Asia: Atyrau
    global.Cities().setCurrentRow(0);
    global.Button().Retrieve->click();
    EXPECT_EQ(window->Panel().Caption(), "Atyrau, Kazakhstan, Asia");
    EXPECT_EQ(window->Strip().Recent().currentText(), "Atyrau, Kazakhstan, Asia");
}

// (That every control is named the end-to-end tests check, view by view.)
TEST_F(WindowTest, EveryMenuIsReachableByKeyboard) {
    Open();
    EXPECT_EQ(AccessibleName(&window->Panel().Thermometer()), "Temperature unknown");
    ExpectDistinctMnemonics(window->menuBar()->actions(), "menu bar");
    // Each view's Alt letters: the menu bar's and those of the captions shown with it.
    for (const WindowView view : {WindowView::Normal, WindowView::MyCities, WindowView::Global}) {
        window->SetView(view);
        QList<QAction*> letters = window->menuBar()->actions();
        for (QWidget* widget : window->centralWidget()->findChildren<QWidget*>())
            if ((qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget)) &&
                widget->isVisibleTo(window.get()))
                letters << new QAction(widget->property("text").toString(), widget);
        ExpectDistinctMnemonics(letters, "window");
    }
    ExpectDistinctMnemonics(window->Tray().Menu().actions(), "tray menu");
    ExpectDistinctMnemonics(window->MyCitiesView().List().actions(), "My Cities list");
    ExpectDistinctMnemonics(window->GlobalView().Cities().actions(), "Locations list");
    const std::pair<QAction*, const char*> shortcuts[] = {
        {window->Menus().CurrentConditions, "Ctrl+W"},     {window->Menus().Stop, "Ctrl+S"},
        {window->Menus().ForecastAndConditions, "Ctrl+B"}, {window->Menus().UpdateAll, "Ctrl+L"},
        {window->Menus().GlobalLocations, "Ctrl+G"},       {window->Menus().PauseResume, "Ctrl+R"},
    };
    for (const auto& [action, keys] : shortcuts)
        EXPECT_EQ(action->shortcut().toString(), keys) << action->text().toStdString();
}

// The speech controller holds the reading controls while it speaks, here into files.
TEST_F(WindowTest, ReportsSavedToFilesAndTheNextReadingGoesToTheSpeakerAgain) {
    StoreRecord(kBoston, "New York", "-5", "Snow");
    Open();
    TBaseTTS& speech = window->Speech();
    speech.OutputDir = home.Folder();
    const MainPanel::Buttons& buttons = window->Panel().Button();
    EXPECT_FALSE(buttons.Stop->isEnabled() || buttons.Pause->isEnabled());
    bool converting = false;
    const QObject listening;
    QObject::connect(window.get(), &TOVForm::StatusChanged, &listening, [&](const QString& text) {
        converting = converting || text.startsWith("Converting to MP3 ");
    });
    const auto saved = [&](const std::string& file) {
        const QString expected = QString::fromStdString("Saved " + home.File(file));
        return RunUntil([&] { return window->StatusText() == expected; });
    };

    window->Menus().ForecastToFile->trigger(); // the city shown, by its name without blanks
    EXPECT_FALSE(buttons.Conditions->isEnabled() || window->Menus().SummaryToFile->isEnabled());
    EXPECT_TRUE(buttons.Stop->isEnabled());
    ASSERT_TRUE(saved("NewYork.wav")) << window->StatusText().toStdString();
    EXPECT_TRUE(buttons.Conditions->isEnabled() && window->Menus().SummaryToFile->isEnabled());
    const TWaveFileReader wav = TWaveFileReader::Open(home.File("NewYork.wav"));
    EXPECT_GT(wav.Frames(), uint64_t(wav.SampleRate())); // more than a second of speech

    speech.SetOutputFormat(TBaseTTS::kOutputFormatMp3);
    window->Menus().SummaryToFile->trigger();
    ASSERT_TRUE(saved("MyCitiesSummary.mp3")) << window->StatusText().toStdString();
    EXPECT_TRUE(converting);
    EXPECT_GT(test::ReadMp3Info(home.File("MyCitiesSummary.mp3")).Duration(), 2.0);

    // Stopped on its way (what it leaves on disk is the output file's own test); the next
    // reading is spoken.
    window->Menus().ForecastToFile->trigger();
    buttons.Stop->click();
    RunFor(std::chrono::milliseconds(200));
    EXPECT_EQ(window->StatusText(), "Idle...");
    window->Menus().CurrentConditions->trigger();
    EXPECT_FALSE(speech.OutputToFile);
    if (SoundServer::Available())
        EXPECT_TRUE(speech.IsBusy());
    else
        EXPECT_EQ(messages.Told.at(0).substr(0, 40), "Exception: A sound card is not detected-");
    speech.Stop();
}

TEST_F(WindowTest, TheCloseButtonGoesToTheTrayAndExitSaves) {
    Open();
    EXPECT_FALSE(window->close()); // "SysTray" is on by default
    window->Restore();
    window->SetView(WindowView::Global); // its lists are filled when first shown
    window->GlobalView().Regions().setCurrentIndex(0);
    window->Exit();
    const std::string saved = config.Read("registry");
    EXPECT_NE(saved.find("sz:RegionIndex=0"), std::string::npos) << saved;
    EXPECT_NE(saved.find("[Software\\HalvernWorks\\Windows\\olvenar\\TOVForm]"), std::string::npos);
    EXPECT_TRUE(window->Cities().Closing);
    EXPECT_FALSE(window->Tray().IsShown());

    WriteSettings("[Software\\HalvernWorks\\Olvenar]\nsz:SysTray=false\n");
    Open();
    EXPECT_TRUE(window->close());
}

TEST_F(WindowTest, StartSwitches) {
    home.Write("tips.chl", "<tips>1</tips><tips0>Press Ctrl+W to hear the conditions.</tips0>");
    const bool sound = SoundServer::Available();
    Open(StartSwitch::Auto);
    EXPECT_TRUE(window->isMinimized() || window->isHidden());
    EXPECT_EQ(window->Tip(), nullptr);
    window->Restore();
    RunFor(std::chrono::milliseconds(50));
    EXPECT_FALSE(window->isMinimized()); // only once

    Open(StartSwitch::Conditions);
    ASSERT_TRUE(RunUntil([&] { return !Requests().empty(); }));
    ASSERT_NE(window->Tip(), nullptr);
    EXPECT_EQ(window->Tip()->TipText(), "Press Ctrl+W to hear the conditions.");
    ASSERT_TRUE(RunUntil(
        [&] { return window->Readings().ReadingKind == kReport || !messages.Told.empty(); }));
    if (sound)
        EXPECT_TRUE(messages.Told.empty());
    else
        EXPECT_EQ(messages.Told.at(0).substr(0, 40), "Exception: A sound card is not detected-");
    EXPECT_EQ(window->Panel().ValueText("Conditions"), "Rain Fog/Mist");
}

} // namespace
} // namespace olv
