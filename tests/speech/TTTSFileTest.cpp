// The speech component rendering to WAV files with the real engines: the events, the word
// positions, pauses, attributes and resets, checked on the audio that reached the file.

#include "platform/Files.h"
#include "platform/MessageHook.h"
#include "speech/ESpeechError.h"
#include "speech/TTTS.h"
#include "speech/support/SpeechTestSupport.h"
#include "support/ManualTimer.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace olv::test {
namespace {

const std::string kReport =
    "Good morning. It is 35 degrees at 6:42, pressure 1013 mb. Winds are calm.";

std::string Repeat(const std::string& sentence, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += sentence;
    return text;
}

class TTTSFileTest : public ::testing::Test {
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

TEST_F(TTTSFileTest, EspeakReportReachesTheFileWithEventsInOrder) {
    Pcm pcm = Render(EspeakUsMode(), kReport);
    EXPECT_EQ(pcm.SampleRate, 22050);
    EXPECT_GT(pcm.Seconds(), 3.0);
    EXPECT_LT(pcm.Seconds(), 9.0);
    EXPECT_GT(pcm.Peak(), 5000);
    EXPECT_EQ(log.Sequence(),
              (std::vector<std::string>{"TextStarted", "AudioStart", "TextDone", "AudioStop"}));
    EXPECT_LT(log.IndexOf("AudioStart"), log.IndexOf("Word"));
    for (const auto& entry : log.Entries)
        EXPECT_TRUE(entry.OnMainThread) << entry.Event;
}

TEST_F(TTTSFileTest, WordPositionsLandOnEachWordOnce) {
    for (const std::string& mode : {EspeakUsMode(), FliteMode("kal16")}) {
        SCOPED_TRACE(mode);
        log.Entries.clear();
        Render(mode, kReport);
        // Numbers read as several words ("35", "6:42", "1013") still give one position each.
        EXPECT_EQ(log.WordPositions(), WordStarts(kReport));
        uint64_t previous = 0;
        for (const auto& entry : log.Entries) {
            if (entry.Event != "Word")
                continue;
            EXPECT_EQ(entry.Value % 2, 0u);
            EXPECT_GE(entry.Time, previous);
            previous = entry.Time;
        }
    }
}

TEST_F(TTTSFileTest, PauseTagsBecomeSilenceAndKeepPositions) {
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
}

TEST_F(TTTSFileTest, AnOverlongPauseIsCut) {
    Pcm pcm = Render(EspeakUsMode(), "\\Pau=999999999\\ Done.");
    EXPECT_GT(pcm.Seconds(), 60.0);
    EXPECT_LT(pcm.Seconds(), 62.0);
}

TEST_F(TTTSFileTest, NoOtherTextActsAsATag) {
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
    tts.SetModeName(EspeakUsMode());
    tts.SetOutputDest(TOutputDest::odFile);
    tts.SetOutputFile(path);
    tts.SetControlTags(TControlTags::ctNone);
    tts.SetActive(true);
    tts.Speak("One \\Pau=3000\\ two.");
    ASSERT_TRUE(WaitForStop());
    tts.SetActive(false);
    EXPECT_EQ(log.WordPositions(), (std::vector<size_t>{0, 4, 15}));
    EXPECT_LT(ReadPcm(path).LongestSilence(), 1.0);
}

TEST_F(TTTSFileTest, SpeedPitchAndVolumeChangeTheAudio) {
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

TEST_F(TTTSFileTest, EachFliteVoiceSpeaksAtItsOwnRate) {
    EXPECT_EQ(Render(FliteMode("kal"), "Hello.").SampleRate, 8000);
    for (const char* key : {"kal16", "slt", "rms", "awb"}) {
        Pcm pcm = Render(FliteMode(key), "Hello.");
        EXPECT_EQ(pcm.SampleRate, 16000) << key;
        EXPECT_GT(pcm.Peak(), 3000) << key;
    }
}

TEST_F(TTTSFileTest, Latin1TextIsSpokenWithItsPositions) {
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

TEST_F(TTTSFileTest, TextsQueueBehindEachOther) {
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

TEST_F(TTTSFileTest, ResetStopsTheTextAndTheFileStaysWhole) {
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

TEST_F(TTTSFileTest, ClosingWhileRenderingLeavesACompleteFile) {
    const std::string longText = Repeat("Rain is likely after midnight, low around fifty. ", 30);
    Open(FliteMode("rms"));
    tts.Speak(longText);
    ASSERT_FALSE(FileExists(path)); // written beside its name until complete
    tts.SetActive(false);
    Pcm pcm = ReadPcm(path);
    EXPECT_EQ(pcm.SampleRate, 16000);
    EXPECT_FALSE(tts.Active());
}

TEST_F(TTTSFileTest, HandlersMayCloseOrDestroyTheComponent) {
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

TEST_F(TTTSFileTest, AFailingHandlerIsReportedAndSpeechGoesOn) {
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
