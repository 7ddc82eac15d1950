// The reading commands of the window with the real speech controller and engines, spoken to
// the test sound server when it runs (the window's tests save readings to files).

#include "app/ReadingCommands.h"

#include "AppTestSupport.h"
#include "app/TOVForm.h"
#include "speech/support/SoundServer.h"

namespace olv {
namespace {

using namespace test;

// (The words of reports are the report suite's; the window saves them to files in its own.)
using ReadingCommandsTest = WindowFixture;

TEST_F(ReadingCommandsTest, ReadingsThatCannotStartSayWhy) {
    WriteMyCities({});
    ReadingCommands& readings = Open().Readings();
    readings.ReadConditions();
    window->Speech().OutputDir = home.File("missing");
    readings.SpeakToFile("Report", "Hello.", kReport);
    ASSERT_EQ(messages.Told.size(), 2u);
    EXPECT_EQ(messages.Told[0],
              "There is no city to read yet: choose one from My Cities or under Global "
              "Locations.");
    EXPECT_EQ(messages.Told[1], "Exception: Output directory does not exist- If this "
                                "continues, please contact Halvern Support");
    EXPECT_EQ(readings.ReadingKind, kNothingSpoken);
    EXPECT_FALSE(window->Speech().OutputToFile);

    // Without the weather service random reading ends instead of trying city after city.
    failRequest = [](const std::string&) { return true; };
    readings.StartRandomReading();
    EXPECT_FALSE(readings.RandomMode);
    EXPECT_EQ(Requests().size(), 1u);
}

TEST_F(ReadingCommandsTest, SpeakingShowsItsProgressInWords) {
    if (!SoundServer::Usable())
        GTEST_SKIP() << "no test sound server";
    Open();
    std::vector<std::string> progress;
    const QObject listening;
    QObject::connect(window.get(), &TOVForm::StatusChanged, &listening, [&](const QString& text) {
        if (text.startsWith("Speaking "))
            progress.push_back(text.toStdString());
    });
    home.Write("jokes.chl", "<jokes>1</jokes><jokes0>Why is it cold? It is -5 out.</jokes0>");
    window->Readings().ReadJoke();
    // The reading ends in the window a moment after the speech.
    ASSERT_TRUE(RunUntil([&] {
        return !window->Speech().IsBusy() && window->Readings().ReadingKind == kNothingSpoken;
    }));
    ASSERT_FALSE(progress.empty());
    // "-5" is spoken as "minus 5": nine words.
    EXPECT_EQ(progress.front(), "Speaking 1 of 9 words. (11%)");
    EXPECT_EQ(progress.back(), "Speaking 9 of 9 words. (100%)");
    EXPECT_EQ(window->StatusText().toStdString(), "Idle...");
}

} // namespace
} // namespace olv
