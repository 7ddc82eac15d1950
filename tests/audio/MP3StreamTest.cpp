#include "audio/EAudioFileError.h"
#include "audio/TMP3Class.h"
#include "support/TempDir.h"
#include "support/audio/Mp3Info.h"
#include "support/audio/ToneWav.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace olv {
namespace {

namespace fs = std::filesystem;

// Feeds the tone in uneven pieces, as an engine delivers speech.
void Feed(TMP3Stream& stream, const std::vector<int16_t>& tone, int channels) {
    const size_t frames = tone.size() / static_cast<size_t>(channels);
    size_t at = 0;
    for (size_t piece = 1; at < frames; piece = piece * 3 % 4001 + 1) {
        const size_t count = std::min(piece, frames - at);
        stream.Write(tone.data() + at * static_cast<size_t>(channels), count);
        at += count;
    }
}

TEST(MP3Stream, EncodesAsTheAudioArrives) {
    for (const bool background : {false, true}) {
        SCOPED_TRACE(background ? "background" : "foreground");
        test::TempDir dir;
        TMP3Class writer(false);
        auto stream = writer.OpenStream(dir.File("report.mp3"), 16000, 1, background);
        Feed(*stream, test::ToneSamples(16000, 1, 3.0), 1);
        EXPECT_FALSE(fs::exists(dir.File("report.mp3")));
        stream->Finish();
        EXPECT_EQ(writer.EncodeRate(), 32000);

        const test::Mp3Info info = test::ReadMp3Info(dir.File("report.mp3"));
        EXPECT_EQ(info.Channels, 1);
        EXPECT_EQ(info.Bitrate, 32);
        EXPECT_GE(info.Duration(), 3.0);
        EXPECT_LE(info.Duration(), 3.15);
    }
}

TEST(MP3Stream, BackgroundEncodingGivesTheSameFile) {
    test::TempDir dir;
    TMP3Class writer(false);
    writer.SetQuality("64 kbps  22.05 KHz  Stereo");
    const auto tone = test::ToneSamples(22050, 1, 2.0);
    for (const auto& [name, background] :
         {std::pair{"fore.mp3", false}, std::pair{"back.mp3", true}}) {
        auto stream = writer.OpenStream(dir.File(name), 22050, 1, background);
        Feed(*stream, tone, 1);
        stream->Finish();
    }
    EXPECT_EQ(test::ReadMp3Info(dir.File("back.mp3")).Channels, 2);
    EXPECT_EQ(dir.Read("fore.mp3"), dir.Read("back.mp3"));
}

TEST(MP3Stream, AbandonedStreamLeavesNoFile) {
    test::TempDir dir;
    dir.Write("report.mp3", "an older report");
    TMP3Class writer(false);
    for (const bool background : {false, true}) {
        auto stream = writer.OpenStream(dir.File("report.mp3"), 22050, 1, background);
        Feed(*stream, test::ToneSamples(22050, 1, 1.0), 1);
    }
    EXPECT_EQ(dir.Read("report.mp3"), "an older report");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);
}

TEST(MP3Stream, UnwritableFolderIsReportedAtOnce) {
    test::TempDir dir;
    TMP3Class writer(false);
    const std::string path = dir.File("missing/report.mp3");
    try {
        writer.OpenStream(path, 22050, 1);
        FAIL() << "opened";
    } catch (const EAudioFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Unable to create " + path + ": No such file or directory");
    }
}

} // namespace
} // namespace olv
