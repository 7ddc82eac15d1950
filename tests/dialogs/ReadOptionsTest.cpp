// The reading options in each of their modes, saving their own section of "TalkData.chl",
// and the lead-in phrases saving "Intro.chl".

#include "DialogTestSupport.h"
#include "app/dialogs/TIntroCustomizeForm.h"
#include "app/dialogs/TReadOptionsForm.h"
#include "report/IntroClass.h"
#include "report/TalkDataClass.h"
#include "scripts/GrabBaseClass.h"

#include <QCheckBox>
#include <QLineEdit>

namespace olv::test {
namespace {

const std::string kBoston = "United States|Massachusetts|Boston";

class ReadOptionsTest : public DialogFixture {
protected:
    std::string Saved(const std::string& section, const char* name) const {
        GrabBaseClass store;
        std::string message;
        store.LoadFromFile(dir.File("TalkData.chl"), message);
        return store.GetValue("/" + section, name);
    }
    static QCheckBox* Box(const QWidget& form, const char* name) {
        return form.findChild<QCheckBox*>(QString::fromLatin1(name));
    }
};

// (Cancel, which writes nothing, the window's tests check for each of these dialogs.)
TEST_F(ReadOptionsTest, EachOpenerShowsItsOwnTextsAndSavesItsOwnSection) {
    dir.Write("TalkData.chl",
              "<key =Default><Temperature>Y</Temperature><Forecast>Y</Forecast></key >");
    TReadOptionsForm form;
    TalkDataClass defaults;
    defaults.Load("", "", TalkDataClass::DefaultMode);
    const struct {
        const char* section;
        std::function<bool()> open;
        const char* caption; // "" when hidden
        bool forecastShown;
    } openers[] = {
        {kBoston.c_str(), [&] { return form.EditCity(kBoston); },
         "City: Boston, Massachusetts, United States", false},
        {"Default", [&] { return form.EditDefaults(defaults); }, "", true},
        {"Summary", [&] { return form.EditSummary(); }, "City: Summary", false},
        {"Morning", [&] { return form.EditAutoItem(kBoston, "Morning"); },
         "Auto Read Item: Morning", true},
    };
    for (const auto& opener : openers) {
        SCOPED_TRACE(opener.section);
        OnNextModal([&](QWidget& dialog) {
            EXPECT_EQ(form.CityCaptionShown() ? form.CityCaption().toStdString() : "",
                      opener.caption);
            EXPECT_EQ(Box(dialog, "ForecastCB")->isVisibleTo(&dialog), opener.forecastShown);
            EXPECT_TRUE(Box(dialog, "ForecastCB")->isChecked()); // from "Default"
            Box(dialog, "HumidityCB")->setChecked(false);
            Click(dialog, "OK");
        });
        EXPECT_TRUE(opener.open());
        EXPECT_EQ(Saved(opener.section, "Humidity"), "N");
        // A hidden forecast box keeps the value that was loaded.
        EXPECT_EQ(Saved(opener.section, "Forecast"), "Y");
        EXPECT_EQ(Saved(opener.section, "Temperature"), "Y");
    }
    EXPECT_FALSE(defaults.ReadHumidity); // the window's own options are in effect at once
    EXPECT_TRUE(form.Description().startsWith("This window defines read options for the Auto"));
    form.Prepare(defaults, TReadOptionsForm::DefaultMode, true); // every opener sets the texts
    EXPECT_TRUE(form.Description().startsWith("This window defines your default Read Options.  "));

    EXPECT_FALSE(form.EditCity(""));
    EXPECT_EQ(prompter.Told, std::vector<std::string>{"Please select a city from the list."});
}

TEST_F(ReadOptionsTest, IntroPhrasesAreReadAgainOnShowingAndAnEmptyOneIsSavedAsABlank) {
    dir.Write("Intro.chl", "<Wind>Wind from</Wind>\n");
    IntroClass intro;
    intro.Wind = "stale";
    TIntroCustomizeForm form(intro);
    form.show();
    auto* wind = form.findChild<QLineEdit*>("WindEdit");
    auto* temperature = form.findChild<QLineEdit*>("TemperatureEdit");
    EXPECT_EQ(wind->text(), "Wind from");
    EXPECT_EQ(temperature->text(), "The Temperature is");

    temperature->clear();
    Click(form, "OK");
    EXPECT_EQ(intro.Temperature, " ");
    IntroClass reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.Temperature, " ");
    EXPECT_EQ(reloaded.Wind, "Wind from");
    EXPECT_EQ(reloaded.Humidity, "Humidity is");
}

} // namespace
} // namespace olv::test
