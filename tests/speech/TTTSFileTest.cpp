// The speech component rendering to WAV files with the real engines: the events, the word
// positions, pauses, attributes and resets, checked on the audio that reached the file.

#include "platform/MessageHook.h"
#include "speech/ESpeechError.h"
#include "speech/TTTS.h"
#include "speech/support/SpeechTestSupport.h"
#include "support/ManualTimer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>

namespace olv::test {
namespace {

const std::string kReport =
    "Good morning. It is 35 degrees at 6:42, pressure 1013 mb. Winds are calm.";

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
        Open(mode, configure);
        tts.Speak(text);
        EXPECT_TRUE(WaitForStop());
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

} // namespace
} // namespace olv::test
