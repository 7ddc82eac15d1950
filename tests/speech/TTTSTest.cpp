// The speech component: its rules (what needs it active or inactive, its destinations and
// their failures, its attributes and their ranges, its error texts), and rendering to WAV files
// with the real engines: the events, the word positions, pauses, attributes and resets, checked
// on the audio that reached the file.

#include "speech/TTTS.h"

#include "platform/AudioOutput.h"
#include "platform/Files.h"
#include "platform/MessageHook.h"
#include "speech/ESpeechError.h"
#include "speech/support/SpeechTestSupport.h"
#include "support/ManualTimer.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace olv::test {
namespace {

constexpr auto SpeechError = &ErrorOf<ESpeechError>;

const std::string kReport =
    "Good morning. It is 35 degrees at 6:42, pressure 1013 mb. Winds are calm.";

std::string Repeat(const std::string& sentence, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += sentence;
    return text;
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

    // Opens mode on an instant output of the caller's.
    void OpenInstant(const std::string& mode, bool breaks = false) {
        tts.SetModeName(mode);
        tts.SetOutputDest(TOutputDest::odOther);
        tts.OnMakeOtherDest = [breaks](TTTS&, std::unique_ptr<AudioOutput>& dest) {
            dest = std::make_unique<InstantOutput>("", breaks);
        };
        tts.SetActive(true);
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
};

// ---- rules ---------------------------------------------------------------------------------

TEST_F(TTTSTest, OperationsNeedTheComponentActive) {
    const std::string prefix = "The Active property must be TRUE before the ";
    EXPECT_EQ(SpeechError([&] { tts.Speak("Hello."); }), prefix + "Speak method can be called");
    EXPECT_EQ(SpeechError([&] { tts.SetAudioPaused(true); }),
              prefix + "AudioPaused method can be called");
    EXPECT_EQ(SpeechError([&] { tts.AudioReset(); }), prefix + "AudioReset method can be called");
    EXPECT_FALSE(tts.AudioPaused());
}

TEST_F(TTTSTest, AttributesExistOnlyWhileActive) {
    EXPECT_EQ(tts.Pitch(), -1);
    EXPECT_EQ(tts.SpeedMax(), -1);
    EXPECT_EQ(tts.VolumeLeftMin(), -1);
    EXPECT_EQ(SpeechError([&] { tts.SetSpeed(200); }),
              "Couldn''t create attributes Interface: Is engine registered?");
    Open(EspeakUsMode()); // the limits are what the clamping below shows
    EXPECT_EQ(tts.Pitch(), 50);
    EXPECT_EQ(tts.Speed(), 175);
    EXPECT_EQ(tts.VolumeRight(), 0xFFFF);
}

TEST_F(TTTSTest, AttributesAreClampedChangesReportedAndReopeningResetsThem) {
    Open(EspeakUsMode());
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

    // Reopening starts from the engine's defaults again.
    tts.SetActive(false);
    tts.SetActive(true);
    EXPECT_EQ(tts.Speed(), 175);
    EXPECT_EQ(tts.Pitch(), 50);
}

TEST_F(TTTSTest, TheDeviceNumberIsCheckedAndFixedWhileActive) {
    // Without a sound server only the default device exists.
    tts.SetAudioDeviceID(-1);
    EXPECT_EQ(SpeechError([&] { tts.SetAudioDeviceID(0); }),
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
    Open(EspeakUsMode());
    EXPECT_EQ(SpeechError([&] { tts.SetAudioDeviceID(-1); }),
              "The Active property must be FALSE before you can set the AudioDeviceID property");
}

TEST_F(TTTSTest, DestinationsThatCannotOpenLeaveItInactive) {
    tts.SetOutputDest(TOutputDest::odAudioDevice);
    EXPECT_EQ(SpeechError([&] { tts.SetActive(true); }),
              "No wave out devices available on system.");
    tts.SetOutputDest(TOutputDest::odFile);
    EXPECT_EQ(SpeechError([&] { tts.SetActive(true); }),
              "OutputDest of odFile requres a valid path and file name in the OutputFile property");
    tts.SetOutputFile(dir.File("missing/folder/out.wav"));
    try {
        tts.SetActive(true);
        FAIL();
    } catch (const ESpeechError& error) {
        EXPECT_EQ(error.Code(), ESpeechError::kOutOfDisk);
    }
    tts.SetOutputDest(TOutputDest::odOther);
    EXPECT_EQ(SpeechError([&] { tts.SetActive(true); }),
              "An OnMakeOtherDest event must be defined to use an OutputDest of odOther.");
    tts.OnMakeOtherDest = [](TTTS&, std::unique_ptr<AudioOutput>&) {};
    EXPECT_EQ(SpeechError([&] { tts.SetActive(true); }),
              "OnMakeOtherDest must assign DestInterface parameter");
    tts.OnMakeOtherDest = [](TTTS&, std::unique_ptr<AudioOutput>& dest) {
        dest = std::make_unique<InstantOutput>("busy");
    };
    EXPECT_EQ(SpeechError([&] { tts.SetActive(true); }),
              ESpeechError::MessageFor(ESpeechError::kDeviceNotReady));
    EXPECT_FALSE(tts.Active());
    EXPECT_EQ(clock.TimerCount(), 0u);
}

TEST_F(TTTSTest, AnOtherDestinationIsPlayedTo) {
    OpenInstant(EspeakUsMode());
    const std::string text = "Partly cloudy, high of 71.";
    tts.Speak(text);
    ASSERT_TRUE(WaitUntil([&] { return log.Has("AudioStop"); }, [&] { clock.FireAll(); }));
    EXPECT_EQ(log.WordPositions(), WordStarts(text));
    EXPECT_LT(log.IndexOf("AudioStart"), log.IndexOf("Word"));
}

TEST_F(TTTSTest, AnOutputThatBreaksEndsTheSpeech) {
    OpenInstant(FliteMode("kal16"), true);
    // Minutes of speech, far more than is made ahead of the listener.
    tts.Speak(Repeat("Showers are expected through the afternoon and evening. ", 100));
    ASSERT_TRUE(WaitUntil([&] { return log.Has("AudioStop"); }, [&] { clock.FireAll(); },
                          std::chrono::seconds(20)));
    EXPECT_LT(log.Count("Word"), 100u);
    tts.SetActive(false);
}

TEST_F(TTTSTest, TextMustBeGivenAsText) {
    Open(EspeakUsMode());
    EXPECT_EQ(SpeechError([&] { tts.Speak(""); }),
              ESpeechError::MessageFor(ESpeechError::kTextEmpty));
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

// ---- rendering to files ---------------------------------------------------------------------

TEST_F(TTTSTest, AReportReachesTheFileWithItsEventsInOrderAndEachWordOnce) {
    for (const std::string& mode : {EspeakUsMode(), FliteMode("kal16")}) {
        SCOPED_TRACE(mode);
        log.Entries.clear();
        const Pcm pcm = Render(mode, kReport);
        EXPECT_GT(pcm.Seconds(), 3.0);
        EXPECT_LT(pcm.Seconds(), 9.0);
        EXPECT_GT(pcm.Peak(), 3000);
        EXPECT_EQ(log.Sequence(),
                  (std::vector<std::string>{"TextStarted", "AudioStart", "TextDone", "AudioStop"}));
        EXPECT_LT(log.IndexOf("AudioStart"), log.IndexOf("Word"));
        // Numbers read as several words ("35", "6:42", "1013") still give one position each.
        EXPECT_EQ(log.WordPositions(), WordStarts(kReport));
        uint64_t previous = 0;
        for (const auto& entry : log.Entries) {
            EXPECT_TRUE(entry.OnMainThread) << entry.Event;
            if (entry.Event != "Word")
                continue;
            EXPECT_EQ(entry.Value % 2, 0u);
            EXPECT_GE(entry.Time, previous);
            previous = entry.Time;
        }
    }
}

TEST_F(TTTSTest, PauseTagsBecomeSilenceAndKeepPositions) {
    const std::string plain = "Sunny today. Clear tonight.";
    const std::string tagged = "Sunny today. \\Pau=1000\\ Clear tonight.";
    const std::string lower = "Sunny today. \\pau=0500\\ Clear tonight.";
    double seconds = Render(EspeakUsMode(), plain).Seconds();
    log.Entries.clear();
    EXPECT_NEAR(Render(EspeakUsMode(), tagged).Seconds() - seconds, 1.0, 0.2);
    // Words after the tag are placed in the text as given, tag included.
    EXPECT_EQ(log.WordPositions(), (std::vector<size_t>{0, 6, 24, 30}));
    EXPECT_NEAR(Render(EspeakUsMode(), lower).Seconds() - seconds, 0.5, 0.2);
    EXPECT_NEAR(Render(FliteMode("kal16"), tagged).Seconds() -
                    Render(FliteMode("kal16"), plain).Seconds(),
                1.0, 0.2);
    // An overlong pause is cut to a minute.
    EXPECT_NEAR(Render(EspeakUsMode(), "\\Pau=999999999\\ Done.").Seconds(), 61.0, 1.0);
}

TEST_F(TTTSTest, NoOtherTextActsAsATag) {
    const std::string words = "Winds calm.";
    double seconds = Render(EspeakUsMode(), words).Seconds();
    // A speed tag of the old engines and markup are read out, not obeyed.
    for (const std::string& text : {"\\Spd=400\\ " + words, "<speak>" + words + "</speak>",
                                    "<break time=\"3s\"/> " + words}) {
        SCOPED_TRACE(text);
        log.Entries.clear();
        EXPECT_GT(Render(EspeakUsMode(), text).Seconds(), seconds + 0.3);
        EXPECT_EQ(log.WordPositions().front(), 0u);
    }
    // Without tags allowed, a pause tag is words too.
    log.Entries.clear();
    const Pcm untagged = Render(EspeakUsMode(), "One \\Pau=3000\\ two.",
                                [](TTTS& t) { t.SetControlTags(TControlTags::ctNone); });
    EXPECT_EQ(log.WordPositions(), (std::vector<size_t>{0, 4, 15}));
    EXPECT_LT(untagged.LongestSilence(), 1.0);
}

TEST_F(TTTSTest, SpeedPitchAndVolumeChangeTheAudio) {
    const std::string text = "The temperature is seventy two degrees with a light breeze.";
    for (const std::string& mode : {EspeakUsMode(), FliteMode("slt")}) {
        SCOPED_TRACE(mode);
        double slow = Render(mode, text, [](TTTS& t) { t.SetSpeed(100); }).Seconds();
        double fast = Render(mode, text, [](TTTS& t) { t.SetSpeed(300); }).Seconds();
        EXPECT_GT(slow, fast * 2);
        double low = Render(mode, text, [](TTTS& t) { t.SetPitch(10); }).MedianPitch();
        double high = Render(mode, text, [](TTTS& t) { t.SetPitch(90); }).MedianPitch();
        EXPECT_GT(high, low * 1.3);
        int loud = Render(mode, text).Peak();
        int quiet = Render(mode, text, [](TTTS& t) {
                        t.SetVolumeLeft(0x4000);
                        t.SetVolumeRight(0x4000);
                    }).Peak();
        EXPECT_NEAR(double(quiet) / loud, 0.25, 0.1);
    }
}

TEST_F(TTTSTest, EachFliteVoiceSpeaksAtItsOwnRate) {
    EXPECT_EQ(Render(FliteMode("kal"), "Hello.").SampleRate, 8000);
    for (const char* key : {"kal16", "slt", "rms", "awb"}) {
        Pcm pcm = Render(FliteMode(key), "Hello.");
        EXPECT_EQ(pcm.SampleRate, 16000) << key;
        EXPECT_GT(pcm.Peak(), 3000) << key;
    }
}

TEST_F(TTTSTest, Latin1TextIsSpokenWithItsPositions) {
    const std::string text = "Caf\xe9 au lait \xe0 14 \xb0"
                             "C, na\xef"
                             "ve r\xe9sum\xe9.";
    for (const std::string& mode : {EspeakUsMode(), FliteMode("kal16")}) {
        SCOPED_TRACE(mode);
        log.Entries.clear();
        EXPECT_GT(Render(mode, text).Seconds(), 1.0);
        auto positions = log.WordPositions();
        auto starts = WordStarts(text);
        for (size_t position : positions)
            EXPECT_NE(std::find(starts.begin(), starts.end(), position), starts.end()) << position;
        EXPECT_GE(positions.size(), starts.size() - 2);
    }
}

TEST_F(TTTSTest, TextsQueueBehindEachOther) {
    Open(EspeakUsMode());
    tts.Speak("First text.");
    tts.Speak("Second one here.");
    ASSERT_TRUE(WaitForStop());
    clock.FireAll();
    EXPECT_EQ(log.Sequence(), (std::vector<std::string>{"TextStarted", "AudioStart", "TextDone",
                                                        "TextStarted", "TextDone", "AudioStop"}));
    // Positions count within each text.
    EXPECT_EQ(log.WordPositions(), (std::vector<size_t>{0, 6, 0, 7, 11}));
}

TEST_F(TTTSTest, ResetStopsTheTextAndTheFileStaysWhole) {
    const std::string longText = Repeat("The wind is from the north west at twelve miles. ", 40);
    Open(FliteMode("slt"));
    tts.Speak(longText);
    ASSERT_TRUE(WaitUntil([&] { return log.Has("Word"); }, [&] { clock.FireAll(); }));
    tts.AudioReset();
    ASSERT_TRUE(WaitForStop());
    EXPECT_FALSE(log.Has("TextDone"));
    size_t words = log.Count("Word");
    EXPECT_LT(words, WordStarts(longText).size() / 2);
    // The component goes on speaking after a reset.
    tts.Speak("Done.");
    ASSERT_TRUE(WaitForStop(2));
    tts.SetActive(false);
    Pcm pcm = ReadPcm(path);
    EXPECT_GT(pcm.Seconds(), 0.3);
    EXPECT_LT(pcm.Seconds(), 60.0);
}

TEST_F(TTTSTest, ClosingWhileRenderingLeavesACompleteFile) {
    const std::string longText = Repeat("Rain is likely after midnight, low around fifty. ", 30);
    Open(FliteMode("rms"));
    tts.Speak(longText);
    ASSERT_FALSE(FileExists(path)); // written beside its name until complete
    tts.SetActive(false);
    Pcm pcm = ReadPcm(path);
    EXPECT_EQ(pcm.SampleRate, 16000);
    EXPECT_FALSE(tts.Active());
}

TEST_F(TTTSTest, HandlersMayCloseOrDestroyTheComponent) {
    // Closing from the audio-stop handler, as the speech controller does.
    tts.OnAudioStop = [](TTTS& sender, uint64_t) { sender.SetActive(false); };
    Open(EspeakUsMode());
    tts.Speak("Closing from the handler.");
    ASSERT_TRUE(WaitUntil([&] { return !tts.Active(); }, [&] { clock.FireAll(); }));
    EXPECT_GT(ReadPcm(path).Seconds(), 0.5);

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

TEST_F(TTTSTest, AFailingHandlerIsReportedAndSpeechGoesOn) {
    std::vector<std::string> shown;
    MessageHookFn previous =
        SetMessageHook([&](const std::string& text) { shown.push_back(text); });
    tts.OnTextDataStarted = [](TTTS&, uint64_t) { throw std::runtime_error("handler broke"); };
    Render(EspeakUsMode(), "Still spoken.");
    SetMessageHook(previous);
    EXPECT_EQ(shown, (std::vector<std::string>{"handler broke"}));
    EXPECT_TRUE(log.Has("AudioStop"));
    EXPECT_EQ(log.WordPositions(), (std::vector<size_t>{0, 6}));
}

} // namespace
} // namespace olv::test
