// The preferences: the first-run wizard and the later dialog, over a settings file, a city
// catalogue and My Cities in a temporary folder.

#include "DialogTestSupport.h"
#include "app/dialogs/TOlvenarPrefForm.h"
#include "platform/Autostart.h"
#include "settings/OlvenarRegistryClass.h"
#include "weather/MyCitiesClass.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <sys/stat.h>

namespace olv::test {
namespace {

class PrefFormTest : public DialogFixture {
protected:
    PrefFormTest() { WriteCatalogue(); }

    static std::string Shown(const TBasePrefForm& form) {
        return form.ShownPanel() ? form.ShownPanel()->objectName().toStdString() : "(none)";
    }
    std::vector<std::string> MyCityKeys() const {
        MyCitiesClass cities;
        cities.Load();
        return cities.Keys;
    }

    OlvenarRegistryClass settings{store};
};

// (The end-to-end tests walk the wizard by keyboard and find the chosen city kept.)
TEST_F(PrefFormTest, FirstRunGoesWelcomeInternetCityMiscAndFinishSavesEverything) {
    for (int run = 0; run < 2; ++run) { // the same city again is not added twice
        TOlvenarPrefForm wizard(settings);
        wizard.show();
        for (const char* panel : {"IntroPanel", "ProxyPanel", "CityPanel", "MiscPanel"}) {
            SCOPED_TRACE(panel);
            EXPECT_EQ(Shown(wizard), panel);
            EXPECT_EQ(wizard.BackButton()->isEnabled(), Shown(wizard) != "IntroPanel");
            EXPECT_EQ(wizard.NextButton()->text(), wizard.OnLastStep() ? "&Finish" : "&Next >>");
            EXPECT_TRUE(wizard.OkButton()->isHidden());
            if (Shown(wizard) == "ProxyPanel") {
                EXPECT_EQ(wizard.focusWidget(), Control<QLineEdit>(wizard, "ProxyHostEdit"));
                Control<QLineEdit>(wizard, "ProxyPasswordEdit")->setText("s3cret");
                EXPECT_EQ(Control<QLineEdit>(wizard, "ProxyPasswordEdit")->echoMode(),
                          QLineEdit::Password);
            }
            wizard.NextButton()->click();
        }
        EXPECT_EQ(wizard.result(), TBasePrefForm::Saved);
    }
    EXPECT_EQ(Stored("MainCityName"), "United States|Massachusetts|Boston"); // the first city
    EXPECT_EQ(MyCityKeys(), std::vector<std::string>{"United States|Massachusetts|Boston"});
    EXPECT_EQ(Stored("ProxyPassword"), "s3cret");
    struct stat info {};
    ASSERT_EQ(stat(StoreFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u); // it holds the password
    ASSERT_TRUE(AutostartEntryExists());
    EXPECT_NE(dir.Read("xdg/autostart/olvenar.desktop").find(" -auto\n"), std::string::npos);
}

TEST_F(PrefFormTest, CancellingTheFirstRunAsksAndThenWritesNothing) {
    prompter.Answers = {false, true};
    OnNextModal([](QWidget& wizard) {
        Click(wizard, "Next >>");
        wizard.findChild<QLineEdit*>("ProxyHostEdit")->setText("typed");
        Click(wizard, "Cancel"); // No: the wizard goes on
        EXPECT_TRUE(wizard.isVisible());
        Click(wizard, "Cancel"); // Yes
    });
    EXPECT_EQ(TOlvenarPrefForm::RunFirstRun(settings), TOlvenarPrefForm::FirstRun::Cancelled);
    EXPECT_EQ(prompter.Asked, std::vector<std::string>(2, "Are you sure you want to exit?"));
    EXPECT_FALSE(FileExists(StoreFile()));
    EXPECT_FALSE(FileExists(dir.File("MyCities.chl")));
    EXPECT_FALSE(AutostartEntryExists());

    settings.MarkStartupSaved();
    EXPECT_EQ(TOlvenarPrefForm::RunFirstRun(settings), TOlvenarPrefForm::FirstRun::NotNeeded);
}

// (Choosing a ZIP code by keyboard the end-to-end tests do.)
TEST_F(PrefFormTest, AZipCodeNeedsFiveDigitsAndTakesNoMore) {
    TOlvenarPrefForm wizard(settings);
    wizard.show();
    wizard.NextStep();
    wizard.NextStep();
    auto* region = Control<QComboBox>(wizard, "RegionDropdown");
    ASSERT_EQ(region->count(), 14);
    region->setCurrentIndex(13);
    auto* zip = Control<QLineEdit>(wizard, "ZipEdit");
    QTest::keyClicks(zip, "0213");
    wizard.NextStep();
    EXPECT_EQ(Shown(wizard), "CityPanel");
    EXPECT_EQ(prompter.Told, std::vector<std::string>{"Invalid Zip Code Entered."});
    QTest::keyClicks(zip, "x45");
    EXPECT_EQ(wizard.ChosenCityKey(), "ZIP:02134");
}

TEST_F(PrefFormTest, TheDialogShowsMiscThenInternetAndOnlyOkWrites) {
    settings.LoadAll();
    settings.SetValue("MainCityName", "Europe|France|Paris");
    settings.SetValue("AutoUpdate", "7"); // not one of the offered intervals
    settings.SaveAll();
    settings.GetList("RecentCityList").push_back("ZIP:90210"); // changed, not yet written
    const std::string before = StoreText();

    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        TOlvenarPrefForm dialog(settings);
        dialog.SetWizardMode(false);
        dialog.show();
        QTabWidget* tabs = dialog.Tabs();
        ASSERT_EQ(tabs->count(), 2);
        EXPECT_EQ(tabs->tabText(0) + "|" + tabs->tabText(1), "Misc. Settings|Internet Options");
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_TRUE(dialog.NextButton()->isHidden() && dialog.BackButton()->isHidden());
        EXPECT_EQ(Control<QComboBox>(dialog, "AutoUpdateCombo")->currentText(), "7");
        Control<QCheckBox>(dialog, "SysTrayCheck")->setChecked(false);
        Control<QCheckBox>(dialog, "AutoStartCheck")->setChecked(false);
        Click(dialog, ok ? "OK" : "Cancel");
        EXPECT_EQ(dialog.result(), ok ? TBasePrefForm::Saved : TBasePrefForm::Cancelled);
        if (!ok) {
            EXPECT_EQ(StoreText(), before);
            EXPECT_TRUE(settings.GetValue("SysTray").AsBool());
        }
    }
    EXPECT_EQ(Stored("SysTray"), "false");
    EXPECT_EQ(Stored("AutoUpdate"), "7");
    EXPECT_EQ(Stored("MainCityName"), "Europe|France|Paris"); // no city panel, no new city
    EXPECT_EQ(Stored("0", "Software\\HalvernWorks\\Olvenar\\ListRecentCityList"), "ZIP:90210");
    EXPECT_FALSE(FileExists(dir.File("MyCities.chl")));
    EXPECT_FALSE(AutostartEntryExists());
}

TEST_F(PrefFormTest, PanelOrdersWithGapsAreFollowedAndBadOnesReported) {
    TBasePrefForm form(settings);
    for (const char* descriptor : {"1,0,First", "3,0,Third", "150,0,Far"}) {
        auto* panel = new QWidget;
        panel->setObjectName(QString::fromLatin1(descriptor).section(',', 2));
        form.AddPanel(panel, QString::fromLatin1(descriptor));
    }
    form.show();
    form.NextStep();
    EXPECT_EQ(Shown(form), "Third");
    EXPECT_FALSE(form.OnLastStep());
    form.NextStep(); // "Far" lies beyond the search
    EXPECT_EQ(Shown(form), "(none)");
    EXPECT_EQ(prompter.Told, std::vector<std::string>{"Problem with Preference Panel captions"});
    form.PreviousStep();
    form.PreviousStep();
    EXPECT_EQ(Shown(form), "First");
    form.PreviousStep();
    EXPECT_EQ(prompter.Told.back(), "problem with preference panel captions");
}

} // namespace
} // namespace olv::test
