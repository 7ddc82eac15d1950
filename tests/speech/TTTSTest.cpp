// The speech component: its rules (what needs it active or inactive, its destinations and
// their failures, its attributes and their ranges, its error texts), and rendering to WAV files
// with the real engines: the events, the word positions, pauses, attributes and resets, checked
// on the audio that reached the file.

#include "speech/TTTS.h"

#include "platform/AudioOutput.h"
#include "platform/MessageHook.h"
#include "speech/ESpeechError.h"
#include "speech/support/SpeechTestSupport.h"
#include "support/ManualTimer.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace olv::test {
namespace {

constexpr auto SpeechError = &ErrorOf<ESpeechError>;

std::string Repeat(const std::string& sentence, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += sentence;
    return text;
}

// A destination of the caller's (odOther) that plays only as far as the test says, or that
// takes the first audio at once and then fails, as a device that goes away. It is the caller's
// own output, so it stands in for no real part.
class HeldOutput final : public AudioOutput {
public:
    explicit HeldOutput(bool vanishes) : vanishes_(vanishes) {}
    std::string Open(int, const PcmFormat& format) override {
        Rate = format.SampleRate;
        return "";
    }
    void Write(const int16_t*, size_t frames) override {
        if (broken_)
            return;
        Written += frames;
        if (vanishes_)
            Played = Written, broken_ = true;
    }
    void Pause() override {}
    void Resume() override {}
    void Reset() override { Written = Played = 0; }
    void Close() override {}
    int64_t PlayedUSecs() const override { return int64_t(Played) * 1000000 / Rate; }
    size_t PendingFrames() const override { return Written - Played; }
    State CurrentState() const override { return Written > Played ? State::Active : State::Idle; }
    std::string Failure() const override { return broken_ ? "the device went away" : ""; }

    int Rate = 1;
    uint64_t Written = 0;
    uint64_t Played = 0;

private:
    bool vanishes_;
    bool broken_ = false;
};

class TTTSTest : public ::testing::Test {
protected:
    void SetUp() override { log.Attach(tts); }

    // Opens mode on a file destination, with the attributes set by configure.
    void Open(const std::string& mode, const std::function<void(TTTS&)>& configure = {}) {
        tts.SetModeName(mode);
        tts.SetOutputDest(TOutputDest::odFile);
        tts.SetOutputFile(path);
        tts.SetControlTags(TControlTags::ctTagged);
        tts.SetActive(true);
        if (configure)
            configure(tts);
    }

    // Opens mode on an output of the test's own and speaks text to it.
    HeldOutput& SpeakToHeldOutput(const std::string& mode, const std::string& text, bool vanishes) {
        tts.SetModeName(mode);
        tts.SetOutputDest(TOutputDest::odOther);
        tts.OnMakeOtherDest = [this, vanishes](TTTS&, std::unique_ptr<AudioOutput>& dest) {
            auto made = std::make_unique<HeldOutput>(vanishes);
            output = made.get();
            dest = std::move(made);
        };
        tts.SetActive(true);
        tts.Speak(text);
        return *output;
    }

    bool WaitForStop(size_t stops = 1) {
        return WaitUntil([&] { return log.Count("AudioStop") >= stops; }, [&] { clock.FireAll(); });
    }

    // Speaks text to a file and returns what reached it.
    Pcm Render(const std::string& mode, const std::string& text,
               const std::function<void(TTTS&)>& configure = {}) {
        size_t stops = log.Count("AudioStop");
        Open(mode, configure);
        tts.Speak(text);
        EXPECT_TRUE(WaitForStop(stops + 1));
        tts.SetActive(false);
        return ReadPcm(path);
    }

    ManualClock clock;
    TempDir dir;
    std::string path = dir.File("out.wav");
    TTTS tts;
    SpeechLog log;
    HeldOutput* output = nullptr;
};

// ---- rules ---------------------------------------------------------------------------------

TEST_F(TTTSTest, OperationsAndAttributesFollowTheActiveState) {
    const std::pair<std::function<void()>, const char*> needActive[] = {
        {[&] { tts.Speak("Hello."); }, "Speak"},
        {[&] { tts.SetAudioPaused(true); }, "AudioPaused"},
        {[&] { tts.AudioReset(); }, "AudioReset"}};
    for (const auto& [call, method] : needActive)
        EXPECT_EQ(SpeechError(call), "The Active property must be TRUE before the " +
                                         std::string(method) + " method can be called");
    EXPECT_EQ(SpeechError([&] { tts.SetSpeed(200); }),
              "Couldn''t create attributes Interface: Is engine registered?");
    EXPECT_EQ(tts.Pitch() + tts.SpeedMax(), -2);
    // Without a sound server only the default device exists.
    EXPECT_EQ(SpeechError([&] { tts.SetAudioDeviceID(0); }),
              "The value specified for the AudioDeviceID is outside the range of available IDs");

    Open(EspeakUsMode());
    EXPECT_EQ(SpeechError([&] { tts.SetAudioDeviceID(-1); }),
              "The Active property must be FALSE before you can set the AudioDeviceID property");
    EXPECT_EQ(SpeechError([&] { tts.SetModeName(FliteMode("kal")); }),
              "The Active property must be FALSE before you can set the ModeID property");
    EXPECT_EQ(SpeechError([&] { tts.Speak(""); }),
              ESpeechError::MessageFor(ESpeechError::kTextEmpty));
    tts.SetCharacterSet(TCharacterSet::csEnginePhonetic);
    EXPECT_THROW(tts.Speak("h@l@U"), ESpeechError);

    // Attributes are clamped; changes are reported with the next tick; reopening resets them.
    tts.SetSpeed(1000);
    tts.SetPitch(0);
    tts.SetVolumeLeft(-5);
    tts.SetVolumeRight(40000);
    tts.SetSpeed(600); // still the maximum: no change to report
    EXPECT_EQ(std::vector<int>({tts.Speed(), tts.Pitch(), tts.VolumeLeft(), tts.VolumeRight()}),
              std::vector<int>({450, 1, 1, 40000}));
    EXPECT_EQ(log.Count("AttribChanged"), 0u);
    clock.FireAll();
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"AttribChanged:2", "AttribChanged:1",
                                                     "AttribChanged:3", "AttribChanged:3"}));
    tts.SetActive(false);
    tts.SetActive(true);
    EXPECT_EQ(tts.Speed(), 175);
    EXPECT_EQ(tts.Pitch(), 50);
}

// Each failure leaves the component inactive.
TEST_F(TTTSTest, DestinationsThatCannotBeOpenedSayWhy) {
    const auto activate = [&](TOutputDest dest, const std::string& file) {
        tts.SetOutputDest(dest);
        tts.SetOutputFile(file);
        return SpeechError([&] { tts.SetActive(true); });
    };
    EXPECT_EQ(activate(TOutputDest::odAudioDevice, ""), "No wave out devices available on system.");
    EXPECT_EQ(activate(TOutputDest::odFile, ""),
              "OutputDest of odFile requres a valid path and file name in the OutputFile property");
    EXPECT_EQ(activate(TOutputDest::odOther, ""),
              "An OnMakeOtherDest event must be defined to use an OutputDest of odOther.");
    tts.OnMakeOtherDest = [](TTTS&, std::unique_ptr<AudioOutput>&) {};
    EXPECT_EQ(activate(TOutputDest::odOther, ""),
              "OnMakeOtherDest must assign DestInterface parameter");
    EXPECT_FALSE(tts.Active());
    EXPECT_EQ(clock.TimerCount(), 0u);
}

// A device that breaks ends minutes of speech, far more than is made ahead of the listener;
// eSpeak NG makes them in a moment, yet a device that plays is handed them only a little ahead
// of what it has played (all of it at once would hold up the window), and in the end all of it.
TEST_F(TTTSTest, ADeviceIsHandedTheAudioAsItPlaysAndOneThatBreaksEndsTheSpeech) {
    const std::string text = Repeat("Showers are expected through the afternoon and evening. ", 60);
    const auto tick = [&] { clock.FireAll(); };
    const auto stopped = [&] { return log.Count("AudioStop") > 0; };
    SpeakToHeldOutput(FliteMode("kal16"), text, true);
    ASSERT_TRUE(WaitUntil(stopped, tick, std::chrono::seconds(20)));
    EXPECT_LT(log.Count("Word"), 60u);
    tts.SetActive(false);

    log.Entries.clear();
    HeldOutput& held = SpeakToHeldOutput(EspeakUsMode(), text, false);
    const auto seconds = [&] { return double(held.Written) / held.Rate; };
    ASSERT_TRUE(WaitUntil([&] { return seconds() > 1; }, tick));
    EXPECT_FALSE(WaitUntil([&] { return seconds() > 4; }, tick, std::chrono::seconds(1)));
    ASSERT_TRUE(WaitUntil(stopped, [&] {
        held.Played = held.Written;
        tick();
    }));
    EXPECT_GT(seconds(), 120);
    EXPECT_EQ(log.WordPositions(), WordStarts(text));
    tts.SetActive(false);
}

TEST(ESpeechErrorTest, MessagesCarryTheTextAndTheCode) {
    EXPECT_STREQ(ESpeechError(0x8004020B).what(),
                 "The text string passed into the text-to-speech engine is empty.\n"
                 "OLE error 8004020b");
    // Only the low 16 bits choose the text; other codes get the system's text.
    EXPECT_EQ(ESpeechError::TextFor(0x8FFF0203), "The audio device is in use at this time.");
    EXPECT_STREQ(ESpeechError(0x80041234).what(), "Unknown error\nOLE error 80041234");
}

// ---- rendering to files ---------------------------------------------------------------------

TEST_F(TTTSTest, PauseTagsBecomeSilenceAndKeepPositions) {
    const std::string plain = "Sunny today. Clear tonight.";
    const std::string tagged = "Sunny today. \\Pau=1000\\ Clear tonight.";
    for (const std::string& mode : {EspeakUsMode(), FliteMode("kal16")}) {
        SCOPED_TRACE(mode);
        const double seconds = Render(mode, plain).Seconds();
        log.Entries.clear();
        EXPECT_NEAR(Render(mode, tagged).Seconds() - seconds, 1.0, 0.2);
        // Words after the tag are placed in the text as given, tag included.
        EXPECT_EQ(log.WordPositions(), (std::vector<size_t>{0, 6, 24, 30}));
    }
    // Without tags allowed, a pause tag is words too.
    log.Entries.clear();
    Render(EspeakUsMode(), "One \\Pau=3000\\ two.",
           [](TTTS& t) { t.SetControlTags(TControlTags::ctNone); });
    EXPECT_EQ(log.WordPositions(), (std::vector<size_t>{0, 4, 15}));
    // An overlong pause is cut to a minute.
    EXPECT_NEAR(Render(EspeakUsMode(), "\\Pau=999999999\\ Done.").Seconds(), 61.0, 1.0);
}

TEST_F(TTTSTest, SpeedAndVolumeChangeTheAudio) {
    const std::string text = "The temperature is seventy two degrees with a light breeze.";
    for (const std::string& mode : {EspeakUsMode(), FliteMode("slt")}) {
        SCOPED_TRACE(mode);
        double slow = Render(mode, text, [](TTTS& t) { t.SetSpeed(100); }).Seconds();
        double fast = Render(mode, text, [](TTTS& t) { t.SetSpeed(300); }).Seconds();
        EXPECT_GT(slow, fast * 2);
        int loud = Render(mode, text).Peak();
        int quiet = Render(mode, text, [](TTTS& t) {
                        t.SetVolumeLeft(0x4000);
                        t.SetVolumeRight(0x4000);
                    }).Peak();
        EXPECT_NEAR(double(quiet) / loud, 0.25, 0.1);
    }
    // Each Flite voice speaks at its own rate.
    EXPECT_EQ(Render(FliteMode("kal"), "Hello.").SampleRate, 8000);
    EXPECT_EQ(Render(FliteMode("awb"), "Hello.").SampleRate, 16000);
}

// What a handler throws is shown and speech goes on; a handler may destroy the component.
TEST_F(TTTSTest, HandlersMayFailOrDestroyTheComponent) {
    std::vector<std::string> shown;
    MessageHookFn previous =
        SetMessageHook([&](const std::string& text) { shown.push_back(text); });
    tts.OnTextDataStarted = [](TTTS&, uint64_t) { throw std::runtime_error("handler broke"); };
    EXPECT_GT(Render(EspeakUsMode(), "Spoken all the same.").Seconds(), 0.5);
    SetMessageHook(previous);
    EXPECT_EQ(shown, (std::vector<std::string>{"handler broke"}));
    EXPECT_EQ(log.Sequence(), (std::vector<std::string>{"AudioStart", "TextDone", "AudioStop"}));

    auto owned = std::make_unique<TTTS>();
    int words = 0;
    owned->OnWordPosition = [&](TTTS&, uint64_t, uint32_t) {
        ++words;
        owned.reset();
    };
    owned->SetModeName(EspeakUsMode());
    owned->SetOutputDest(TOutputDest::odFile);
    owned->SetOutputFile(dir.File("other.wav"));
    owned->SetActive(true);
    owned->Speak("Destroyed by its own handler.");
    ASSERT_TRUE(WaitUntil([&] { return owned == nullptr; }, [&] { clock.FireAll(); }));
    EXPECT_EQ(words, 1);
    EXPECT_EQ(clock.TimerCount(), 0u);
}

} // namespace
} // namespace olv::test
