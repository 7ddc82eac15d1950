#include "audio/AudioTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace olv {
namespace {

namespace fs = std::filesystem;

// Feeds the tone in uneven pieces, as an engine delivers speech.
void Feed(TMP3Stream& stream, const std::vector<int16_t>& tone) {
    size_t at = 0;
    for (size_t piece = 1; at < tone.size(); piece = piece * 3 % 4001 + 1) {
        const size_t count = std::min(piece, tone.size() - at);
        stream.Write(tone.data() + at, count);
        at += count;
    }
}

// On a worker thread or not, the stream makes the same file, and only when it is finished.
TEST(MP3Stream, EncodesAsTheAudioArrivesInTheForegroundOrBackground) {
    struct Case {
        const char* Quality;
        int InputRate;
        int EncodeRate;
    };
    for (const Case& c : {Case{"32 kbps  22.05 KHz  Mono", 16000, 32000},
                          Case{"64 kbps  22.05 KHz  Stereo", 22050, 22050}}) {
        SCOPED_TRACE(c.Quality);
        test::TempDir dir;
        TMP3Class writer(false);
        writer.SetQuality(c.Quality);
        const auto tone = test::ToneSamples(c.InputRate, 1, 3.0);
        for (const bool background : {false, true}) {
            const std::string name = background ? "back.mp3" : "fore.mp3";
            auto stream = writer.OpenStream(dir.File(name), c.InputRate, 1, background);
            Feed(*stream, tone);
            EXPECT_FALSE(fs::exists(dir.File(name)));
            stream->Finish();
        }
        EXPECT_EQ(writer.EncodeRate(), c.EncodeRate);
        EXPECT_EQ(dir.Read("fore.mp3"), dir.Read("back.mp3"));
        const test::Mp3Info info = test::ReadMp3Info(dir.File("back.mp3"));
        EXPECT_EQ(info.Channels, writer.ChannelCount());
        EXPECT_EQ(info.Bitrate, writer.Bitrate());
        test::ExpectLength(info, 3.0);
    }
}

TEST(MP3Stream, AbandonedStreamLeavesNoFile) {
    test::TempDir dir;
    dir.Write("report.mp3", "an older report");
    TMP3Class writer(false);
    for (const bool background : {false, true}) {
        auto stream = writer.OpenStream(dir.File("report.mp3"), 22050, 1, background);
        Feed(*stream, test::ToneSamples(22050, 1, 1.0));
    }
    EXPECT_EQ(dir.Read("report.mp3"), "an older report");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);
}

} // namespace
} // namespace olv
