// Speaking to the sound devices of a real PulseAudio server (the null sinks "olvtest", the
// default, and "second"; see tools/run-tests). Each sink's monitor is recorded to show where the
// audio went.

#include "speech/ControllerFixture.h"
#include "speech/TPreProcessor.h"
#include "speech/support/QtTestSupport.h"

namespace olv::test {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

const std::string kSentence = "The forecast for tonight: clear skies, a low of 41 degrees.";

class BaseTTSQtTest : public ControllerFixture {
protected:
    void SetUp() override {
        if (!SoundServer::Usable())
            GTEST_SKIP() << "no test sound server (tools/run-tests starts one)";
    }

    bool Pump(const std::function<bool()>& done) override { return RunEventsUntil(done); }
};

// A device that has gone (40) gives way to the default output; the setting stays for when it
// is back.
TEST_F(BaseTTSQtTest, SpeechReachesTheChosenDeviceAndNotTheOther) {
    struct Case {
        int Device;
        std::string Heard, Silent;
    };
    TBaseTTS& speech = Start();
    const std::vector<size_t> words = WordStarts(speech.PreProcessor->Process(kSentence));
    for (const Case& c : {Case{DeviceNumber("second"), "second", "olvtest"},
                          Case{-1, "olvtest", "second"}, Case{40, "olvtest", "second"}}) {
        SCOPED_TRACE(c.Device);
        events.clear();
        positions.clear();
        auto [heard, silent] = RecordSinks(c.Heard, c.Silent, dir.Folder(), [&] {
            speech.AudioDeviceID = c.Device;
            speech.Speak("", kSentence);
            EXPECT_TRUE(WaitForDone());
        });
        EXPECT_GT(heard.Peak(), 3000);
        EXPECT_LT(silent.Peak(), 50);
        EXPECT_EQ(events, (std::vector<std::string>{"State 2/0", "State 0/6", "Done 6 "}));
        EXPECT_EQ(positions, words);
    }
    EXPECT_EQ(speech.AudioDeviceID, 40);
}

// The sentence lasts about four seconds: its words arrive spread over that time, as it is
// heard, not all at once when synthesis (a few milliseconds) is done.
TEST_F(BaseTTSQtTest, WordPositionsFollowThePlayedAudio) {
    Start().Speak("", kSentence);
    const auto spoken = std::chrono::steady_clock::now();
    std::vector<std::chrono::steady_clock::time_point> times;
    speech->OnWordPosition = [&](TBaseTTS&, int, int) {
        times.push_back(std::chrono::steady_clock::now());
    };
    ASSERT_TRUE(WaitForDone());
    ASSERT_GE(times.size(), 8u);
    EXPECT_GT(times.back() - times.front(), std::chrono::milliseconds(2500));
    EXPECT_GT(times.back() - spoken, std::chrono::milliseconds(3000));
}

TEST_F(BaseTTSQtTest, PauseHoldsTheWordsResumeGoesOnAndStopEndsAtOnce) {
    TBaseTTS& speech = Start();
    Button read, stop;
    speech.AddControl(0, read);
    speech.AddControl(5, stop);
    speech.Speak("", LongText());
    ASSERT_TRUE(Pump([&] { return positions.size() >= 3; }));
    speech.TogglePause();
    const size_t heard = positions.size();
    RunEventsFor(std::chrono::milliseconds(1000));
    EXPECT_LE(positions.size(), heard + 1); // one may have been on its way
    EXPECT_TRUE(!read.Enabled && stop.Enabled);
    speech.TogglePause();
    ASSERT_TRUE(Pump([&] { return positions.size() >= heard + 3; }));
    speech.TogglePause();
    speech.Stop();
    EXPECT_EQ(speech.State(), TtsState::Idle);
    EXPECT_TRUE(read.Enabled && !stop.Enabled);
    EXPECT_EQ(std::vector<std::string>(events.end() - 3, events.end()),
              (std::vector<std::string>{"State 1/3", "State 0/5", "Done 5 "}));
    const size_t words = positions.size();
    RunEventsFor(std::chrono::milliseconds(500)); // nothing of the old text comes after
    EXPECT_EQ(events.back(), "Done 5 ");
    EXPECT_EQ(positions.size(), words);
}

} // namespace
} // namespace olv::test
