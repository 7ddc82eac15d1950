// The speech component playing to the sound devices of a real PulseAudio server (two null
// sinks, see tools/run-tests). Each sink's monitor is recorded to show where the audio went.

#include "speech/support/QtTestSupport.h"
#include "support/TempDir.h"

namespace olv::test {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

const std::string kSentence = "The forecast for tonight: clear skies, a low of 41 degrees.";

class PlaybackQtTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!SoundServer::Usable())
            GTEST_SKIP() << "no test sound server (tools/run-tests starts one)";
        log.Attach(tts);
    }

    void Open(const std::string& mode, int device) {
        tts.SetModeName(mode);
        tts.SetOutputDest(TOutputDest::odAudioDevice);
        tts.SetAudioDeviceID(device);
        tts.SetControlTags(TControlTags::ctTagged);
        tts.SetActive(true);
    }

    // Plays the sentence and records both sinks; returns the recordings of (chosen, other).
    std::pair<Pcm, Pcm> PlayAndRecord(const std::string& mode, int device,
                                      const std::string& chosen, const std::string& other) {
        return RecordSinks(chosen, other, dir.Folder(), [&] {
            Open(mode, device);
            tts.Speak(kSentence);
            EXPECT_TRUE(RunEventsUntil([&] { return log.Has("AudioStop"); }));
            tts.SetActive(false);
        });
    }

    TempDir dir;
    TTTS tts;
    SpeechLog log;
};

TEST_F(PlaybackQtTest, EachVoiceReachesTheChosenDeviceAndNotTheOther) {
    struct Case {
        std::string Mode;
        std::string Device, Other; // sinks; the default output is "olvtest"
        int Number;
    };
    for (const Case& c : {Case{EspeakUsMode(), "second", "olvtest", DeviceNumber("second")},
                          Case{FliteMode("kal16"), "olvtest", "second", -1}}) {
        SCOPED_TRACE(c.Mode + " on " + c.Device);
        log.Entries.clear();
        auto [chosen, other] = PlayAndRecord(c.Mode, c.Number, c.Device, c.Other);
        EXPECT_GT(chosen.Peak(), 3000);
        EXPECT_GT(chosen.Rms(), 300);
        EXPECT_LT(other.Peak(), 50);
        EXPECT_EQ(log.WordPositions(), WordStarts(kSentence));
        for (const auto& entry : log.Entries)
            EXPECT_TRUE(entry.OnMainThread) << entry.Event;
    }
}

TEST_F(PlaybackQtTest, WordPositionsFollowThePlayedAudio) {
    Open(EspeakUsMode(), DeviceNumber("olvtest"));
    auto spoken = std::chrono::steady_clock::now();
    tts.Speak(kSentence);
    ASSERT_TRUE(RunEventsUntil([&] { return log.Has("AudioStop"); }));
    ASSERT_GE(log.Count("Word"), 8u);
    // The sentence lasts about four seconds: its words arrive spread over that time, not all
    // at once when synthesis (a few milliseconds) is done.
    std::vector<std::chrono::steady_clock::time_point> words;
    for (const auto& entry : log.Entries)
        if (entry.Event == "Word")
            words.push_back(entry.At);
    EXPECT_GT(words.back() - words.front(), std::chrono::milliseconds(2500));
    EXPECT_GT(words.back() - spoken, std::chrono::milliseconds(3000));
    EXPECT_LT(log.IndexOf("AudioStart"), log.IndexOf("Word"));
    EXPECT_EQ(log.Entries.back().Event, "AudioStop");
}

TEST_F(PlaybackQtTest, PauseHoldsTheWordsAndResumeFinishes) {
    Open(EspeakUsMode(), DeviceNumber("olvtest"));
    tts.Speak(kSentence);
    ASSERT_TRUE(RunEventsUntil([&] { return log.Count("Word") >= 3; }));
    tts.SetAudioPaused(true);
    size_t words = log.Count("Word");
    RunEventsFor(std::chrono::milliseconds(1500));
    EXPECT_TRUE(tts.AudioPaused());
    EXPECT_LE(log.Count("Word"), words + 1); // one may have been on its way
    EXPECT_FALSE(log.Has("AudioStop"));
    tts.SetAudioPaused(false);
    ASSERT_TRUE(RunEventsUntil([&] { return log.Has("AudioStop"); }));
    EXPECT_EQ(log.WordPositions(), WordStarts(kSentence));
}

TEST_F(PlaybackQtTest, PauseThenStopEndsAtOnce) {
    const std::string longText = kSentence + " " + kSentence + " " + kSentence + " " + kSentence;
    Open(EspeakUsMode(), DeviceNumber("olvtest"));
    tts.Speak(longText);
    ASSERT_TRUE(RunEventsUntil([&] { return log.Count("Word") >= 3; }));
    tts.SetAudioPaused(true);
    RunEventsFor(std::chrono::milliseconds(300));
    tts.AudioReset();
    EXPECT_FALSE(tts.AudioPaused());
    ASSERT_TRUE(RunEventsUntil([&] { return log.Has("AudioStop"); }, std::chrono::seconds(2)));
    size_t words = log.Count("Word");
    EXPECT_LT(words, WordStarts(longText).size());
    RunEventsFor(std::chrono::milliseconds(500)); // nothing of the old text comes after
    EXPECT_EQ(log.Count("Word"), words);
    EXPECT_EQ(log.Count("AudioStop"), 1u);
    tts.SetActive(false);
}

} // namespace
} // namespace olv::test
