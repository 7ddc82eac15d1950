// The speech component's rules: what needs it active or inactive, its destinations and their
// failures, its attributes and their ranges, and its component error texts.

#include "platform/AudioOutput.h"
#include "speech/ESpeechError.h"
#include "speech/TTTS.h"
#include "speech/support/SpeechTestSupport.h"
#include "support/ManualTimer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace olv::test {
namespace {

std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ESpeechError& error) {
        return error.what();
    }
    return "(no error)";
}

// A destination the caller supplies (odOther) that plays instantly: everything written counts
// as played at once. It is the caller's own output, so it stands in for no real part.
class InstantOutput final : public AudioOutput {
public:
    explicit InstantOutput(std::string failOpen = "", bool breaks = false)
        : failOpen_(std::move(failOpen)), breaks_(breaks) {}
    std::string Open(int, const PcmFormat& format) override {
        rate_ = format.SampleRate;
        return failOpen_;
    }
    // One that breaks takes the first audio and then fails, as a device that goes away.
    void Write(const int16_t*, size_t frames) override {
        if (!broken_)
            frames_ += frames;
        broken_ = breaks_;
    }
    void Pause() override {}
    void Resume() override {}
    void Reset() override { frames_ = 0; }
    void Close() override {}
    int64_t PlayedUSecs() const override { return int64_t(frames_) * 1000000 / rate_; }
    size_t PendingFrames() const override { return 0; }
    State CurrentState() const override { return frames_ ? State::Idle : State::Active; }
    std::string Failure() const override { return broken_ ? "the device went away" : ""; }

private:
    std::string failOpen_;
    bool breaks_ = false;
    bool broken_ = false;
    int rate_ = 1;
    uint64_t frames_ = 0;
};

class TTTSComponentTest : public ::testing::Test {
protected:
    void OpenFile() {
        tts.SetOutputDest(TOutputDest::odFile);
        tts.SetOutputFile(dir.File("out.wav"));
        tts.SetActive(true);
    }

    ManualClock clock;
    TempDir dir;
    TTTS tts;
};

TEST_F(TTTSComponentTest, OperationsNeedTheComponentActive) {
    const std::string prefix = "The Active property must be TRUE before the ";
    EXPECT_EQ(ErrorOf([&] { tts.Speak("Hello."); }), prefix + "Speak method can be called");
    EXPECT_EQ(ErrorOf([&] { tts.SetAudioPaused(true); }),
              prefix + "AudioPaused method can be called");
    EXPECT_EQ(ErrorOf([&] { tts.AudioReset(); }), prefix + "AudioReset method can be called");
    EXPECT_FALSE(tts.AudioPaused());
}

TEST_F(TTTSComponentTest, AttributesExistOnlyWhileActive) {
    EXPECT_EQ(tts.Pitch(), -1);
    EXPECT_EQ(tts.SpeedMax(), -1);
    EXPECT_EQ(tts.VolumeLeftMin(), -1);
    EXPECT_EQ(ErrorOf([&] { tts.SetSpeed(200); }),
              "Couldn''t create attributes Interface: Is engine registered?");
    OpenFile();
    EXPECT_EQ(tts.PitchMin(), 1);
    EXPECT_EQ(tts.PitchMax(), 100);
    EXPECT_EQ(tts.Pitch(), 50);
    EXPECT_EQ(tts.SpeedMin(), 80);
    EXPECT_EQ(tts.SpeedMax(), 450);
    EXPECT_EQ(tts.Speed(), 175);
    EXPECT_EQ(tts.VolumeLeftMin(), 1);
    EXPECT_EQ(tts.VolumeRightMax(), 0xFFFF);
    EXPECT_EQ(tts.VolumeRight(), 0xFFFF);
}

TEST_F(TTTSComponentTest, AttributesAreClampedAndChangesReported) {
    SpeechLog log;
    log.Attach(tts);
    OpenFile();
    tts.SetSpeed(1000);
    tts.SetPitch(0);
    tts.SetVolumeLeft(-5);
    tts.SetVolumeRight(40000);
    tts.SetSpeed(600); // still the maximum: no change to report
    EXPECT_EQ(tts.Speed(), 450);
    EXPECT_EQ(tts.Pitch(), 1);
    EXPECT_EQ(tts.VolumeLeft(), 1);
    EXPECT_EQ(tts.VolumeRight(), 40000);
    EXPECT_EQ(log.Count("AttribChanged"), 0u); // they arrive with the next tick
    clock.FireAll();
    std::vector<uint32_t> changed;
    for (const auto& entry : log.Entries)
        changed.push_back(entry.Value);
    EXPECT_EQ(changed, (std::vector<uint32_t>{2, 1, 3, 3}));
}

TEST_F(TTTSComponentTest, TheDeviceNumberIsCheckedAndFixedWhileActive) {
    // Without a sound server only the default device exists.
    tts.SetAudioDeviceID(-1);
    EXPECT_EQ(ErrorOf([&] { tts.SetAudioDeviceID(0); }),
              "The value specified for the AudioDeviceID is outside the range of available IDs");
    EXPECT_THROW(tts.SetAudioDeviceID(-2), ESpeechError);
    // A device list as a sound server gives it (this stands in for the server).
    AudioDeviceLister previous = SetAudioDeviceLister([] {
        return std::vector<AudioDeviceInfo>{AudioDeviceInfo{}, AudioDeviceInfo{}};
    });
    tts.SetAudioDeviceID(1);
    EXPECT_EQ(tts.AudioDeviceID(), 1);
    EXPECT_THROW(tts.SetAudioDeviceID(2), ESpeechError);
    SetAudioDeviceLister(previous);
    OpenFile();
    EXPECT_EQ(ErrorOf([&] { tts.SetAudioDeviceID(-1); }),
              "The Active property must be FALSE before you can set the AudioDeviceID property");
}

TEST_F(TTTSComponentTest, DestinationsThatCannotOpenLeaveItInactive) {
    tts.SetOutputDest(TOutputDest::odAudioDevice);
    EXPECT_EQ(ErrorOf([&] { tts.SetActive(true); }), "No wave out devices available on system.");
    tts.SetOutputDest(TOutputDest::odFile);
    EXPECT_EQ(ErrorOf([&] { tts.SetActive(true); }),
              "OutputDest of odFile requres a valid path and file name in the OutputFile property");
    tts.SetOutputFile(dir.File("missing/folder/out.wav"));
    try {
        tts.SetActive(true);
        FAIL();
    } catch (const ESpeechError& error) {
        EXPECT_EQ(error.Code(), ESpeechError::kOutOfDisk);
    }
    tts.SetOutputDest(TOutputDest::odOther);
    EXPECT_EQ(ErrorOf([&] { tts.SetActive(true); }),
              "An OnMakeOtherDest event must be defined to use an OutputDest of odOther.");
    tts.OnMakeOtherDest = [](TTTS&, std::unique_ptr<AudioOutput>&) {};
    EXPECT_EQ(ErrorOf([&] { tts.SetActive(true); }),
              "OnMakeOtherDest must assign DestInterface parameter");
    tts.OnMakeOtherDest = [](TTTS&, std::unique_ptr<AudioOutput>& dest) {
        dest = std::make_unique<InstantOutput>("busy");
    };
    EXPECT_EQ(ErrorOf([&] { tts.SetActive(true); }),
              ESpeechError::MessageFor(ESpeechError::kDeviceNotReady));
    EXPECT_FALSE(tts.Active());
    EXPECT_EQ(clock.TimerCount(), 0u);
}

TEST_F(TTTSComponentTest, AnOtherDestinationIsPlayedTo) {
    SpeechLog log;
    log.Attach(tts);
    tts.SetModeName(EspeakUsMode());
    tts.SetOutputDest(TOutputDest::odOther);
    tts.OnMakeOtherDest = [](TTTS&, std::unique_ptr<AudioOutput>& dest) {
        dest = std::make_unique<InstantOutput>();
    };
    tts.SetActive(true);
    const std::string text = "Partly cloudy, high of 71.";
    tts.Speak(text);
    ASSERT_TRUE(WaitUntil([&] { return log.Has("AudioStop"); }, [&] { clock.FireAll(); }));
    EXPECT_EQ(log.WordPositions(), WordStarts(text));
    EXPECT_LT(log.IndexOf("AudioStart"), log.IndexOf("Word"));
}

TEST_F(TTTSComponentTest, AnOutputThatBreaksEndsTheSpeech) {
    SpeechLog log;
    log.Attach(tts);
    tts.SetModeName(FliteMode("kal16"));
    tts.SetOutputDest(TOutputDest::odOther);
    tts.OnMakeOtherDest = [](TTTS&, std::unique_ptr<AudioOutput>& dest) {
        dest = std::make_unique<InstantOutput>("", true);
    };
    tts.SetActive(true);
    std::string longText; // minutes of speech, far more than is made ahead of the listener
    for (int i = 0; i < 100; ++i)
        longText += "Showers are expected through the afternoon and evening. ";
    tts.Speak(longText);
    ASSERT_TRUE(WaitUntil([&] { return log.Has("AudioStop"); }, [&] { clock.FireAll(); },
                          std::chrono::seconds(20)));
    EXPECT_LT(log.Count("Word"), 100u);
    tts.SetActive(false);
}

TEST_F(TTTSComponentTest, ReopeningStartsFromTheDefaults) {
    OpenFile();
    tts.SetSpeed(300);
    tts.SetPitch(80);
    tts.SetActive(false);
    tts.SetActive(true);
    EXPECT_EQ(tts.Speed(), 175);
    EXPECT_EQ(tts.Pitch(), 50);
}

TEST_F(TTTSComponentTest, TextMustBeGivenAsText) {
    OpenFile();
    EXPECT_EQ(ErrorOf([&] { tts.Speak(""); }), ESpeechError::MessageFor(ESpeechError::kTextEmpty));
    tts.SetCharacterSet(TCharacterSet::csEnginePhonetic);
    EXPECT_THROW(tts.Speak("h@l@U"), ESpeechError);
}

TEST(ESpeechErrorTest, MessagesCarryTheTextAndTheCode) {
    EXPECT_STREQ(ESpeechError(0x8004020B).what(),
                 "The text string passed into the text-to-speech engine is empty.\n"
                 "OLE error 8004020b");
    // Only the low 16 bits choose the text; other codes get the system's text.
    EXPECT_EQ(ESpeechError::TextFor(0x8FFF0203), "The audio device is in use at this time.");
    EXPECT_STREQ(ESpeechError(0x80041234).what(), "Unknown error\nOLE error 80041234");
    EXPECT_STREQ(ESpeechError("TTS component message").what(), "TTS component message");
}

} // namespace
} // namespace olv::test
