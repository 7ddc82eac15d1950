// The speech component playing to the sound devices of a real PulseAudio server (two null
// sinks, see tools/run-tests). Each sink's monitor is recorded to show where the audio went.

#include "platform/AudioOutput.h"
#include "speech/TTTS.h"
#include "speech/support/QtTestSupport.h"
#include "speech/support/SoundServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace olv::test {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

const std::string kSentence = "The forecast for tonight: clear skies, a low of 41 degrees.";
const std::string kLongText =
    "Good morning. Here is the weather for Springfield. It is 35 degrees with light winds "
    "from the north at 6 miles per hour. The pressure is 1013 millibars and rising. Tonight "
    "will be clear and cold, with a low of 28 degrees. Tomorrow will be sunny and warmer.";

class PlaybackQtTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!SoundServer::Available()) {
            if (SoundServer::Required())
                FAIL() << "the test sound server with sinks olvtest and second is not running";
            GTEST_SKIP() << "no test sound server (tools/run-tests starts one)";
        }
        log.Attach(tts);
    }

    static int DeviceNumber(const std::string& id) {
        auto devices = ListAudioDevices();
        for (size_t i = 0; i < devices.size(); ++i)
            if (devices[i].Id == id)
                return int(i);
        return -2;
    }

    void Open(const std::string& mode, int device) {
        tts.SetModeName(mode);
        tts.SetOutputDest(TOutputDest::odAudioDevice);
        tts.SetAudioDeviceID(device);
        tts.SetControlTags(TControlTags::ctTagged);
        tts.SetActive(true);
    }

    // Plays text and records both sinks; returns the recordings of (chosen, other).
    std::pair<Pcm, Pcm> PlayAndRecord(const std::string& mode, int device,
                                      const std::string& chosenSink, const std::string& otherSink,
                                      const std::string& text) {
        MonitorRecorder chosen(chosenSink, dir.File("chosen.wav"));
        MonitorRecorder other(otherSink, dir.File("other.wav"));
        EXPECT_TRUE(chosen.Started() && other.Started());
        RunEventsFor(std::chrono::milliseconds(1000)); // parec misses its first moments
        Open(mode, device);
        tts.Speak(text);
        EXPECT_TRUE(RunEventsUntil([&] { return log.Has("AudioStop"); }));
        tts.SetActive(false);
        RunEventsFor(std::chrono::milliseconds(300));
        chosen.Stop();
        other.Stop();
        return {ReadPcm(chosen.Path()), ReadPcm(other.Path())};
    }

    TempDir dir;
    TTTS tts;
    SpeechLog log;
};

TEST_F(PlaybackQtTest, SpeechReachesTheChosenDeviceAndNotTheOther) {
    auto [chosen, other] =
        PlayAndRecord(EspeakUsMode(), DeviceNumber("second"), "second", "olvtest", kSentence);
    EXPECT_GT(chosen.Peak(), 3000);
    EXPECT_GT(chosen.Rms(), 300);
    EXPECT_LT(other.Peak(), 50);
    EXPECT_EQ(log.WordPositions(), WordStarts(kSentence));
    for (const auto& entry : log.Entries)
        EXPECT_TRUE(entry.OnMainThread) << entry.Event;
}

TEST_F(PlaybackQtTest, DefaultDeviceAndFliteVoicePlayToTheDefaultSink) {
    auto [chosen, other] = PlayAndRecord(FliteMode("kal16"), -1, "olvtest", "second", kSentence);
    EXPECT_GT(chosen.Peak(), 3000);
    EXPECT_LT(other.Peak(), 50);
    EXPECT_EQ(log.WordPositions(), WordStarts(kSentence));
}

TEST_F(PlaybackQtTest, WordPositionsFollowThePlayedAudio) {
    Open(EspeakUsMode(), DeviceNumber("olvtest"));
    auto spoken = std::chrono::steady_clock::now();
    tts.Speak(kSentence);
    ASSERT_TRUE(RunEventsUntil([&] { return log.Has("AudioStop"); }));
    ASSERT_GE(log.Count("Word"), 8u);
    // The sentence lasts about four seconds: its words arrive spread over that time, not all
    // at once when synthesis (a few milliseconds) is done.
    std::chrono::steady_clock::time_point first, last;
    for (const auto& entry : log.Entries) {
        if (entry.Event != "Word")
            continue;
        if (first == std::chrono::steady_clock::time_point())
            first = entry.At;
        last = entry.At;
    }
    EXPECT_GT(last - first, std::chrono::milliseconds(2500));
    EXPECT_GT(last - spoken, std::chrono::milliseconds(3000));
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
    Open(EspeakUsMode(), DeviceNumber("olvtest"));
    tts.Speak(kLongText);
    ASSERT_TRUE(RunEventsUntil([&] { return log.Count("Word") >= 3; }));
    tts.SetAudioPaused(true);
    RunEventsFor(std::chrono::milliseconds(300));
    tts.AudioReset();
    EXPECT_FALSE(tts.AudioPaused());
    ASSERT_TRUE(RunEventsUntil([&] { return log.Has("AudioStop"); }, std::chrono::seconds(2)));
    size_t words = log.Count("Word");
    EXPECT_LT(words, WordStarts(kLongText).size());
    RunEventsFor(std::chrono::milliseconds(500)); // nothing of the old text comes after
    EXPECT_EQ(log.Count("Word"), words);
    EXPECT_EQ(log.Count("AudioStop"), 1u);
    tts.SetActive(false);
    EXPECT_FALSE(tts.Active());
}

} // namespace
} // namespace olv::test
