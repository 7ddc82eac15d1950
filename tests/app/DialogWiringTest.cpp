// The window's dialogs as its menu entries and buttons open them; what the dialogs do inside is
// their own suite's, and the first-run wizard at start-up the end-to-end tests'.

#include "AppTestSupport.h"
#include "app/GlobalArea.h"
#include "app/MainPanel.h"
#include "app/MyCitiesArea.h"
#include "app/ReadingCommands.h"
#include "app/TOVForm.h"
#include "platform/Files.h"
#include "speech/support/ScopedEnv.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace olv {
namespace {

using namespace test;

class DialogWiringTest : public WindowFixture {
protected:
    // Autostart entries written by the preferences land here.
    ScopedEnv xdgConfig{"XDG_CONFIG_HOME", config.File("xdg").c_str()};
};

TEST_F(DialogWiringTest, EveryEntryOpensItsDialogAndCancelOrCloseChangesNothing) {
    Open();
    window->MyCitiesView().List().setCurrentItem(window->MyCitiesView().List().topLevelItem(0));
    window->Settings().SaveAll();
    const std::string settingsBefore = config.Read("registry");
    const QString coloursBefore = window->centralWidget()->styleSheet();

    const MainMenus& menus = window->Menus();
    const std::pair<std::function<void()>, const char*> entries[] = {
        {[&] { menus.Preferences->trigger(); }, "Setting Preferences"},
        {[&] { menus.Appearance->trigger(); }, "Olvenar Appearance"},
        {[&] { menus.VoiceOptions->trigger(); }, "Setting Voice and Audio File Preferences"},
        {[&] { menus.SelectAudioDevice->trigger(); }, "Audio Destination Device ID"},
        {[&] { menus.EditIntroPhrases->trigger(); }, "Customizing Introductory Phrases"},
        {[&] { menus.DefaultReadOptions->trigger(); }, "Read Options...|"},
        {[&] { window->GlobalView().Button().DefaultOptions->click(); }, "Read Options...|"},
        {[&] { menus.SummaryReadOptions->trigger(); }, "Read Options...|City: Summary"},
        {[&] { window->MyCitiesView().Button().CityOptions->click(); },
         "Read Options...|City: Boston, Massachusetts, United States"},
        {[&] { window->MyCitiesView().Action().CityOptions->trigger(); },
         "Read Options...|City: Boston, Massachusetts, United States"},
        {[&] { menus.AutoReadSettings->trigger(); }, "Automatic Read Settings"},
    };
    for (size_t i = 0; i < std::size(entries); ++i) {
        std::string seen = "(no dialog)";
        OnNextModal([&seen, i](QWidget& dialog) {
            seen = dialog.windowTitle().toStdString();
            if (auto* city = dialog.findChild<QLabel*>("CityNameLabel"))
                seen += "|" + (city->isHidden() ? std::string() : city->text().toStdString());
            if (i % 2 == 0)
                Click(dialog, "Cancel");
            else
                dialog.close();
        });
        entries[i].first();
        EXPECT_EQ(seen, entries[i].second);
    }
    EXPECT_TRUE(messages.Told.empty());
    EXPECT_EQ(config.Read("registry"), settingsBefore);
    EXPECT_FALSE(FileExists(home.File("TalkData.chl")) || FileExists(home.File("Intro.chl")));
    EXPECT_EQ(window->centralWidget()->styleSheet(), coloursBefore);
}

TEST_F(DialogWiringTest, OkPutsWhatEachDialogEditsIntoEffect) {
    Open();
    window->Cities().ShowStoredCity(kHagatna);
    OnNextModal([](QWidget& dialog) {
        Control<QCheckBox>(dialog, "CelciusCheck")->setChecked(true);
        Click(dialog, "OK");
    });
    window->Menus().Preferences->trigger();
    EXPECT_TRUE(window->Cities().UseMetric);
    EXPECT_EQ(window->Animation().TemperatureTarget(), 25); // 77 degrees Fahrenheit, shown again
    EXPECT_NE(config.Read("registry").find("Celcius=true"), std::string::npos);

    OnNextModal([](QWidget& dialog) {
        Click(dialog, "Earth (Green)");
        Click(dialog, "OK");
    });
    window->Menus().Appearance->trigger();
    EXPECT_TRUE(window->centralWidget()->styleSheet().contains("stop:0 #004000"));

    OnNextModal([](QWidget& dialog) {
        Control<QLineEdit>(dialog, "TemperatureEdit")->setText("Outside it is");
        Click(dialog, "OK");
    });
    window->Menus().EditIntroPhrases->trigger();
    OnNextModal([](QWidget& dialog) {
        Control<QCheckBox>(dialog, "HumidityCB")->setChecked(false);
        Click(dialog, "OK");
    });
    window->GlobalView().Button().DefaultOptions->click();
    EXPECT_FALSE(window->DefaultTalkData().ReadHumidity);
    const std::string report = window->DefaultTalkData().ConditionsText(
        *window->Cities().CurrentCity, window->Intro(), window->Cities().UseMetric);
    EXPECT_NE(report.find("Outside it is 25 degrees."), std::string::npos) << report;
    EXPECT_EQ(report.find("Humidity"), std::string::npos) << report;
}

// The voice options borrow the controller's events: a reading that ends meanwhile must still
// end in the window, and the next reading must not go to its file.
TEST_F(DialogWiringTest, AFileReadingThatEndsWhileTheVoiceOptionsAreOpenStillEnds) {
    Open();
    window->Speech().OutputDir = home.Folder();
    window->Readings().SpeakToFile("Report", "A reading that ends while the options are open.",
                                   kReport);
    OnNextModal([this](QWidget& dialog) {
        RunUntil([this] { return !window->Speech().IsBusy(); });
        dialog.close();
    });
    window->Menus().VoiceOptions->trigger();
    EXPECT_EQ(window->Readings().ReadingKind, kNothingSpoken);
    EXPECT_FALSE(window->Speech().OutputToFile);
    EXPECT_EQ(window->StatusText().toStdString(), "Saved " + home.File("Report.wav"));
}

} // namespace
} // namespace olv
