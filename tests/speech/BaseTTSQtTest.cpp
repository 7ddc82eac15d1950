// The speech controller speaking to the sound devices of a real PulseAudio server (the null
// sinks "olvtest", the default, and "second"; see tools/run-tests). Each sink's monitor is
// recorded to show where the audio went. Also the device dialog's data and the device check.

#include "speech/AudioDevices.h"
#include "speech/ControllerFixture.h"
#include "speech/TAudioDeviceList.h"
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

    // Speaks the sentence on device; returns the recordings of (chosen, other).
    std::pair<Pcm, Pcm> SpeakAndRecord(int device, const std::string& chosen,
                                       const std::string& other) {
        events.clear();
        return RecordSinks(chosen, other, dir.Folder(), [&] {
            speech->AudioDeviceID = device;
            speech->Speak("", kSentence);
            EXPECT_TRUE(WaitForDone());
        });
    }
};

TEST_F(BaseTTSQtTest, SpeechReachesTheChosenDeviceAndNotTheOther) {
    Start();
    auto [chosen, other] = SpeakAndRecord(DeviceNumber("second"), "second", "olvtest");
    EXPECT_GT(chosen.Peak(), 3000);
    EXPECT_LT(other.Peak(), 50);
    EXPECT_EQ(events.front(), "State 2/0");
    EXPECT_EQ(std::vector<std::string>(events.end() - 2, events.end()),
              (std::vector<std::string>{"State 0/6", "Done 6 "}));
    const std::vector<size_t> words = WordStarts(speech->PreProcessor->Process(kSentence));
    ASSERT_FALSE(positions.empty());
    for (size_t position : positions)
        EXPECT_NE(std::find(words.begin(), words.end(), position), words.end()) << position;
    EXPECT_FALSE(speech->TTS.Active());
}

TEST_F(BaseTTSQtTest, TheDefaultOutputAndAVanishedDeviceBothPlayOnTheDefaultSink) {
    Start();
    for (int device : {-1, 40}) {
        SCOPED_TRACE(device);
        auto [chosen, other] = SpeakAndRecord(device, "olvtest", "second");
        EXPECT_GT(chosen.Peak(), 3000);
        EXPECT_LT(other.Peak(), 50);
    }
    EXPECT_EQ(speech->AudioDeviceID, 40); // the setting stays for when the device is back
}

TEST_F(BaseTTSQtTest, PauseHoldsTheSpeechAndStopEndsIt) {
    TBaseTTS& speech = Start();
    Button read, stop;
    speech.AddControl(0, read);
    speech.AddControl(5, stop);
    speech.Speak("", LongText());
    ASSERT_TRUE(Pump([&] { return positions.size() >= 3; }));
    speech.TogglePause();
    ASSERT_TRUE(speech.IsPaused());
    const size_t heard = positions.size();
    RunEventsFor(std::chrono::milliseconds(1000));
    EXPECT_EQ(positions.size(), heard);
    EXPECT_FALSE(read.Enabled);
    EXPECT_TRUE(stop.Enabled);

    speech.Stop();
    EXPECT_EQ(speech.State(), TtsState::Idle);
    EXPECT_TRUE(read.Enabled);
    EXPECT_FALSE(stop.Enabled);
    EXPECT_EQ(std::vector<std::string>(events.end() - 3, events.end()),
              (std::vector<std::string>{"State 1/3", "State 0/5", "Done 5 "}));
    RunEventsFor(std::chrono::milliseconds(500));
    EXPECT_EQ(events.back(), "Done 5 ");
}

TEST_F(BaseTTSQtTest, TheDeviceDialogListsTheSinksWithTheirDetails) {
    const auto entries = TAudioDeviceList::Entries();
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[0].Caption, "Wave_Mapper (MS Default)");
    EXPECT_EQ(entries[0].DeviceID, -1);
    const auto captionOf = [&](const std::string& sink) -> std::string {
        const int index = TAudioDeviceList::EntryIndexOf(entries, DeviceNumber(sink));
        return index > 0 ? entries[size_t(index)].Caption : "(not listed)";
    };
    EXPECT_EQ(captionOf("second"), "SecondNull");
    EXPECT_EQ(captionOf("olvtest"), "OlvTest");
    EXPECT_EQ(TAudioDeviceList::EntryIndexOf(entries, int(entries.size()) + 5), -1);
    EXPECT_EQ(TAudioDeviceList::EntryIndexOf(entries, -2), -1);
    // The default output's data are those of the default sink.
    AudioDevices::Caps caps;
    ASSERT_TRUE(AudioDevices::GetCaps(-1, caps));
    EXPECT_EQ(caps.ProductName, "OlvTest");

    // The null sinks play every standard format, in stereo.
    TAudioDeviceList::Details details;
    ASSERT_TRUE(TAudioDeviceList::DetailsOf(-1, details));
    EXPECT_EQ(details.DeviceID, "-1 (Wave_mapper)");
    EXPECT_EQ(details.Channels, "Stereo");
    EXPECT_EQ(std::count(details.Formats.begin(), details.Formats.end(), '\r'), 11);
    EXPECT_EQ(details.Formats.substr(0, 23), "11.025 kHz, Mono, 8-bit");
    EXPECT_EQ(details.Supports, "Supports volume control. ");
    const int second = DeviceNumber("second");
    ASSERT_TRUE(TAudioDeviceList::DetailsOf(second, details));
    EXPECT_EQ(details.DeviceID, std::to_string(second));
    EXPECT_EQ(details.Channels, "Stereo");
    EXPECT_EQ(std::count(details.Formats.begin(), details.Formats.end(), '\r'), 11);
    EXPECT_FALSE(TAudioDeviceList::DetailsOf(99, details));
    EXPECT_EQ(details.DeviceID, std::to_string(second)); // unchanged
}

TEST_F(BaseTTSQtTest, AChosenDeviceIsKeptOnlyWhenItPassesTheCheck) {
    TBaseTTS& speech = Start();
    const int second = DeviceNumber("second");
    EXPECT_FALSE(speech.ChooseAudioDevice()); // no dialog supplied

    std::optional<int> answer;
    int offered = -5;
    speech.OnChooseAudioDevice = [&](int current) {
        offered = current;
        return answer;
    };
    EXPECT_FALSE(speech.ChooseAudioDevice()); // cancelled
    EXPECT_EQ(offered, -1);

    answer = 99;
    EXPECT_FALSE(speech.ChooseAudioDevice());
    EXPECT_EQ(speech.AudioDeviceID, -1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].substr(0, 27), "Audio device check failed. ");

    answer = second;
    EXPECT_TRUE(speech.ChooseAudioDevice());
    EXPECT_EQ(speech.AudioDeviceID, second);
    EXPECT_NE(dir.Read("config/registry").find("TTS_AudioDeviceID=" + std::to_string(second)),
              std::string::npos);
    EXPECT_EQ(speech.TTS.AudioDeviceID(), -1); // the check leaves the component as it was
    EXPECT_EQ(messages.size(), 1u);
}

} // namespace
} // namespace olv::test
