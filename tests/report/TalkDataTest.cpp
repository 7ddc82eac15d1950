#include "platform/Paths.h"
#include "report/IntroClass.h"
#include "report/TalkDataClass.h"
#include "support/TempDir.h"
#include "util/Strings.h"
#include "weather/CityDataClass.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

using Flag = bool TalkDataClass::*;

CityDataClass Boston() {
    CityDataClass city("United States|MA|Boston");
    city.Name = "Boston";
    city.ConditionsTime = "3:53 PM EST";
    city.Temperature = "45";
    city.Humidity = "65";
    city.DewPoint = "30";
    city.Wind = "NW at 10 mph";
    city.Pressure = "30.12";
    city.Conditions = "Cloudy";
    city.Visibility = "10";
    return city;
}

// Options that read only the given parts, without the time of the conditions.
TalkDataClass Only(std::initializer_list<Flag> flags) {
    TalkDataClass talk;
    for (Flag flag : {&TalkDataClass::ReadConditionsTime, &TalkDataClass::ReadTemperature,
                      &TalkDataClass::ReadHumidity, &TalkDataClass::ReadDewpoint,
                      &TalkDataClass::ReadWind, &TalkDataClass::ReadPressure,
                      &TalkDataClass::ReadConditions, &TalkDataClass::ReadVisibility})
        talk.*flag = false;
    for (Flag flag : flags)
        talk.*flag = true;
    return talk;
}

TalkDataClass Loaded(std::string_view cityKey, std::string_view itemName, uint8_t mode) {
    TalkDataClass talk;
    talk.Load(cityKey, itemName, mode);
    return talk;
}

const std::string kOpening = "Here are the current conditions for Boston, MA, .  ";

class Report : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(dir.Folder()); }
    void TearDown() override { SetProgramFolder(""); }

    std::string Wind(const std::string& wind, bool metric = false) {
        CityDataClass city = Boston();
        city.Wind = wind;
        return Only({&TalkDataClass::ReadWind})
            .ConditionsText(city, intro, metric)
            .substr(kOpening.size());
    }

    test::TempDir dir;
    IntroClass intro;
};

TEST_F(Report, ReadsTheBostonExampleToTheCharacterInEitherUnits) {
    EXPECT_EQ(TalkDataClass().ConditionsText(Boston(), intro, false),
              "Here are the current conditions for Boston, MA,  at 3:53 PM Eastern Standard Time.  "
              "The Temperature is 45 degrees.  Humidity is 65 percent.  "
              "Current DewPoint is 30 degrees.  "
              "Wends are from the North West at 10 miles per hour.  "
              "The Pressure is 30.12 inches.  Conditions are Cloudy.  Visibility is 10 miles.  ");
    CityDataClass city = Boston();
    city.Temperature = "72";
    city.Pressure = "30.00";
    EXPECT_EQ(TalkDataClass().ConditionsText(city, intro, true),
              "Here are the current conditions for Boston, MA,  at 3:53 PM Eastern Standard Time.  "
              "The Temperature is 22 degrees.  Humidity is 65 percent.  "
              "Current DewPoint is -1 degrees.  "
              "Wends are from the North West at 16 kilometers per hour.  "
              "The Pressure is 1016 hectopascals.  Conditions are Cloudy.  "
              "Visibility is 16 kilometers.  ");
}

TEST_F(Report, WindPhraseSpellsOutDirections) {
    const std::pair<const char*, const char*> english[] = {
        {"Calm", "Wends are Calm.  "},
        {"Varied", "Wends are Varied.  "},
        {"ESE at 5 mph", "Wends are from the East South East at 5 miles per hour.  "},
        {"SE at 5 mph", "Wends are from the South East at 5 miles per hour.  "},
        {"N at 5 mph", "Wends are from the N at 5 miles per hour.  "},
        {"W at N/A mph", "Wends are from the W at ? miles per hour.  "},
    };
    for (const auto& [wind, phrase] : english)
        EXPECT_EQ(Wind(wind), phrase);
    EXPECT_EQ(Wind("W at N/A mph", true), "Wends are from the W at Unknown kilometers per hour.  ");

    intro.Wind = "Wind from";
    EXPECT_EQ(Wind("SW at 3 mph"), "Wend from South West at 3 miles per hour.  ");
    EXPECT_EQ(Wind("Calm"), "Wends are Calm.  ");
}

TEST_F(Report, OpeningNeedsAValuePhrase) {
    EXPECT_EQ(Only({&TalkDataClass::ReadConditionsTime}).ConditionsText(Boston(), intro, false),
              "");
    EXPECT_EQ(Only({&TalkDataClass::ReadConditions}).ConditionsText(Boston(), intro, false),
              kOpening + "Conditions are Cloudy.  ");
}

TEST_F(Report, ForecastJoinsThePeriods) {
    CityDataClass city = Boston();
    EXPECT_EQ(TalkDataClass().ForecastText(city, intro), "The forecast for Boston, MA,  ");

    city.ForecastTime = "12:00 UTC";
    city.ForecastHeader = {"Tonight", "Friday"};
    city.ForecastText = {"Windy...cold.", "Light wind."};
    TalkDataClass talk;
    talk.ReadForecastTime = true;
    EXPECT_EQ(talk.ForecastText(city, intro),
              "The forecast for Boston, MA,  at 12:00 U T C  Tonight,  Wendy,cold., "
              "Friday,  Light wend.");

    city.ForecastText.pop_back(); // a text short of its heading reads as empty
    EXPECT_TRUE(EndsWith(talk.ForecastText(city, intro), "cold., Friday,  "));
}

TEST_F(Report, SummaryAddsTheForecastWhenAsked) {
    CityDataClass city("ZIP:90210");
    city.Name = "Beverly Hills";
    city.Conditions = "Sunny";
    city.ConditionsTime = "10:00 IST";
    TalkDataClass talk = Only({&TalkDataClass::ReadConditions, &TalkDataClass::ReadConditionsTime});
    talk.ReadForecast = true;
    EXPECT_EQ(talk.SummaryText(city, intro, false),
              "Here are the current conditions for Beverly Hills,  at 10:00 .  Conditions are "
              "Sunny.  The forecast for Beverly Hills,  ");
}

// A section without a Temperature value counts as absent: the next one in line is read. Only
// "N" switches a value off and only "Y" switches a forecast option on.
TEST_F(Report, LoadsTheSectionInLine) {
    dir.Write("TalkData.chl",
              "<key =Default><Temperature>Y</Temperature><Humidity>N</Humidity></key >"
              "<key =A|B|C><Temperature></Temperature><Wind>N</Wind></key >"
              "<key =Morning><Temperature>N</Temperature><Forecast>Y</Forecast></key >"
              "<key =X|Y|Z><Temperature>Y</Temperature><Pressure>N</Pressure>"
              "<Conditions>n</Conditions><ForecastTime>y</ForecastTime></key >");

    const TalkDataClass city = Loaded("A|B|C", "", TalkDataClass::CityMode);
    EXPECT_EQ(city.SectionName, "A|B|C");
    EXPECT_TRUE(!city.ReadHumidity && city.ReadWind);
    const TalkDataClass own = Loaded("X|Y|Z", "", TalkDataClass::CityMode);
    EXPECT_TRUE(!own.ReadPressure && own.ReadConditions && !own.ReadForecastTime &&
                own.ReadHumidity);
    const TalkDataClass item = Loaded("X|Y|Z", "Morning", TalkDataClass::AutoItemMode);
    EXPECT_EQ(item.SectionName, "Morning");
    EXPECT_TRUE(!item.ReadTemperature && item.ReadForecast && item.ReadPressure);
    EXPECT_FALSE(Loaded("X|Y|Z", "Evening", TalkDataClass::AutoItemMode).ReadPressure);
    EXPECT_FALSE(Loaded("A|B|C", "Evening", TalkDataClass::AutoItemMode).ReadHumidity);
    const TalkDataClass summary = Loaded("", "Summary", TalkDataClass::SummaryMode);
    EXPECT_TRUE(summary.SectionName == "Summary" && !summary.ReadHumidity);
}

TEST_F(Report, SavesTheChosenSectionAndKeepsTheOthers) {
    TalkDataClass fresh = Loaded("A|B|C", "", TalkDataClass::CityMode); // no file yet
    fresh.ReadHumidity = false;
    fresh.ReadForecast = true;
    fresh.Save();
    TalkDataClass defaults = Loaded("", "", TalkDataClass::DefaultMode);
    defaults.ReadWind = false;
    defaults.Save();

    const std::string text = dir.Read("TalkData.chl");
    EXPECT_NE(text.find("  <key =A|B|C>\r\n    <ConditionsTime>Y</ConditionsTime>\r\n"
                        "    <Temperature>Y</Temperature>\r\n    <Humidity>N</Humidity>\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("<Forecast>Y</Forecast>\r\n    <CurrentTime>Y</CurrentTime>\r\n"),
              std::string::npos);
    // The defaults, saved after it, do not take the city's place.
    EXPECT_FALSE(Loaded("A|B|C", "", TalkDataClass::CityMode).ReadHumidity);
}

} // namespace
} // namespace olv
