// The reading commands with the real speech controller and engines: reports rendered into
// WAV files in a temporary folder, or spoken to the test sound server when it runs.

#include "app/ReadingCommands.h"

#include "AppTestSupport.h"
#include "app/CitySession.h"
#include "report/IntroClass.h"
#include "report/TalkDataClass.h"
#include "settings/OlvenarRegistryClass.h"
#include "speech/TBaseTTS.h"
#include "speech/support/SoundServer.h"

#include <filesystem>

namespace olv {
namespace {

using namespace test;

class ReadingCommandsTest : public AppFixture {
protected:
    ReadingCommandsTest() {
        settings.LoadAll();
        speech.Initialize(settings);
        speech.OutputDir = home.Folder();
        speech.OnDone = [this](TBaseTTS&, TtsReason, const std::string& file) {
            if (!file.empty())
                files.push_back(file);
            ++ends;
            readings.SpeechFinished();
        };
        readings.ShowStatus = [this](const std::string& text) { status = text; };
        WriteMyCities({kBoston, kHagatna});
        StoreRecord(kBoston, "Boston", "-5", "Snow");
        StoreRecord(kHagatna, "Hagatna", "77", "Rain");
        cities.MyCities.Load();
    }
    ~ReadingCommandsTest() override { speech.Stop(); }

    bool WaitForEnds(int count) {
        return RunUntil([&] { return ends >= count && !speech.IsBusy(); });
    }

    OlvenarRegistryClass settings;
    TBaseTTS speech;
    TalkDataClass defaults;
    IntroClass intro;
    RecordedViews views;
    CitySession cities{settings, views};
    ReadingCommands readings{speech, cities, defaults, intro};
    std::vector<std::string> files;
    int ends = 0;
    std::string status;
};

TEST_F(ReadingCommandsTest, ReportTexts) {
    const CityDataClass boston = cities.StoredRecord(kBoston);
    EXPECT_EQ(readings.ConditionsAndForecastText(boston),
              readings.ConditionsText(boston) + readings.ForecastText(boston));
    home.Write("TalkData.chl", "<key =Summary><Temperature>Y</Temperature>"
                               "<Humidity>N</Humidity><Dewpoint>N</Dewpoint><Wind>N</Wind>"
                               "<Pressure>N</Pressure><Conditions>Y</Conditions>"
                               "<Visibility>N</Visibility><ConditionsTime>N</ConditionsTime>"
                               "</key >");
    const std::string summary = readings.MyCitiesSummaryText();
    EXPECT_NE(summary.find("Boston"), std::string::npos);
    EXPECT_NE(summary.find("The Temperature is -5 degrees.  Conditions are Snow."),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("The Temperature is 77 degrees.  Conditions are Rain."),
              std::string::npos);
    EXPECT_EQ(summary.find("Humidity"), std::string::npos);
}

TEST_F(ReadingCommandsTest, AFileReadingEndsAndTheNextGoesToTheSpeakerAgain) {
    cities.ShowStoredCity(kBoston);
    readings.SpeakToFile("Boston Report.txt", readings.ConditionsText(*cities.CurrentCity),
                         kReport);
    EXPECT_EQ(readings.ReadingKind, kReport);
    ASSERT_TRUE(WaitForEnds(1));
    EXPECT_EQ(files, std::vector<std::string>{"Boston Report"});
    EXPECT_GT(std::filesystem::file_size(home.File("Boston Report.wav")), 10000u);
    EXPECT_FALSE(speech.OutputToFile);
    EXPECT_EQ(readings.ReadingKind, kNothingSpoken);
    EXPECT_EQ(status, "Idle...");
}

TEST_F(ReadingCommandsTest, ReadingsThatCannotStartSayWhy) {
    readings.ReadConditions();
    speech.OutputDir = home.File("missing");
    readings.SpeakToFile("Report", "Hello.", kReport);
    ASSERT_EQ(messages.Told.size(), 2u);
    EXPECT_EQ(messages.Told[0],
              "There is no city to read yet: choose one from My Cities or under Global "
              "Locations.");
    EXPECT_EQ(messages.Told[1], "Exception: Output directory does not exist- If this "
                                "continues, please contact Halvern Support");
    EXPECT_EQ(readings.ReadingKind, kNothingSpoken);
    EXPECT_FALSE(speech.OutputToFile);

    // Without the weather service random reading ends instead of trying city after city.
    failRequest = [](const std::string&) { return true; };
    readings.StartRandomReading();
    EXPECT_FALSE(readings.RandomMode);
    EXPECT_EQ(Requests().size(), 1u);
}

TEST_F(ReadingCommandsTest, SpeakingShowsItsProgressInWords) {
    if (!SoundServer::Usable())
        GTEST_SKIP() << "no test sound server";
    std::vector<std::string> progress;
    speech.OnWordPosition = [&](TBaseTTS&, int position, int) {
        progress.push_back(readings.ProgressText(position));
    };
    home.Write("jokes.chl", "<jokes>1</jokes><jokes0>Why is it cold? It is -5 out.</jokes0>");
    readings.ReadJoke();
    ASSERT_TRUE(WaitForEnds(1));
    ASSERT_FALSE(progress.empty());
    // "-5" is spoken as "minus 5": nine words.
    EXPECT_EQ(progress.front(), "Speaking 1 of 9 words. (11%)");
    EXPECT_EQ(progress.back(), "Speaking 9 of 9 words. (100%)");
    EXPECT_EQ(status, "Idle...");
}

} // namespace
} // namespace olv
