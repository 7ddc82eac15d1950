#include "audio/AudioTestSupport.h"
#include "audio/TMP3Class.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace olv {
namespace {

namespace fs = std::filesystem;

size_t FilesIn(const test::TempDir& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir.Path()), {}));
}

// The file is MPEG layer III frames and nothing else, at the quality's constant bit rate and
// channels (plain stereo, not joint), with the private bit set and no CRC, copyright or original
// flag. Decoded, the tone keeps its length and pitch.
TEST(ConvertFormat, QualitiesKeepLengthAndPitch) {
    struct Case {
        const char* Quality;
        int SourceRate;
        int Mp3Rate; // the rate lame chooses for the bit rate and the rate it is given
    };
    for (const Case& c : {Case{"32 kbps  22.05 KHz  Mono", 22050, 22050},
                          Case{"64 kbps  22.05 KHz  Stereo", 22050, 22050},
                          Case{"32 kbps  22.05 KHz  Mono", 16000, 22050},
                          Case{"16 kbps  11.02 KHz  Mono", 8000, 16000},
                          Case{"64 kbps  22.05 KHz  Stereo", 16000, 24000},
                          Case{"128 kbps  44.1 KHz  Stereo", 22050, 44100},
                          Case{"64 kbps  48.00 KHz  Mono", 16000, 48000}}) {
        SCOPED_TRACE(std::string(c.Quality) + " from " + std::to_string(c.SourceRate));
        test::TempDir dir;
        test::ShownMessages shown;
        test::MakeToneWav(dir.File("engine.wav"), c.SourceRate, 1, 2.0);
        TMP3Class writer(true);
        writer.SetQuality(c.Quality);
        ASSERT_TRUE(test::MakeMp3(writer, dir.File("engine.wav"), dir.File("report.mp3")));
        EXPECT_EQ(FilesIn(dir), 1u) << "a WAV file was left";

        const test::Mp3Info info = test::ReadMp3Info(dir.File("report.mp3"));
        EXPECT_EQ(info.SampleRate, c.Mp3Rate);
        EXPECT_EQ(info.ChannelMode, writer.ChannelCount() == 2 ? 0 : 3); // 0 stereo, 3 mono
        EXPECT_EQ(info.Bitrate, writer.Bitrate());
        EXPECT_TRUE(info.ConstantBitrate);
        EXPECT_TRUE(info.Consistent);
        EXPECT_TRUE(info.PrivateBit);
        EXPECT_FALSE(info.Crc || info.Copyright || info.Original);
        EXPECT_EQ(info.LeadingBytes, 0);
        EXPECT_EQ(info.UnparsedBytes, 0);
        test::ExpectLength(info, 2.0);
        test::ExpectDecodesTo(dir.File("report.mp3"), dir, 2.0, writer.ChannelCount(), 440.0);
        EXPECT_TRUE(shown.Texts.empty());
    }
}

// 10 s at 22050 Hz is 383 chunks of 576 samples: the interface gets its turn at 101, 202, 303,
// with a progress event when there is a handler. A Stop in a turn makes the chunk in hand the
// last one: 102 chunks, a valid shorter MP3; the WAV file is gone either way.
TEST(ConvertFormat, ProgressEveryHundredAndFirstChunkAndStopKeepsWhatWasEncoded) {
    test::TempDir dir;
    TMP3Class writer(false);
    std::vector<int64_t> progress;
    writer.OnProgress = [&](TAudioFileClass&, int64_t done, int64_t total) {
        EXPECT_EQ(total, 441000);
        progress.push_back(done);
    };
    test::MakeToneWav(dir.File("engine.wav"), 22050, 1, 10.0);
    {
        test::MessagePump pump;
        ASSERT_TRUE(writer.ConvertFormat(dir.File("engine.wav"), dir.File("report.mp3")));
        EXPECT_EQ(pump.Turns, 3);
    }
    EXPECT_EQ(progress, (std::vector<int64_t>{101 * 1152, 202 * 1152, 303 * 1152}));

    test::MakeToneWav(dir.File("engine.wav"), 22050, 1, 10.0);
    writer.OnProgress = nullptr; // the turns come all the same, so that Stop can arrive
    {
        test::MessagePump pump([&] { writer.Abort(); });
        EXPECT_FALSE(writer.ConvertFormat(dir.File("engine.wav"), dir.File("report.mp3")));
    }
    const test::Mp3Info info = test::ReadMp3Info(dir.File("report.mp3"));
    test::ExpectLength(info, 102 * 576 / 22050.0);
    EXPECT_EQ(info.UnparsedBytes, 0);
    EXPECT_EQ(FilesIn(dir), 1u) << "the WAV file was left";
}

TEST(ConvertFormat, FailuresAreShownAndKeepTheAudio) {
    struct Case {
        std::string WavBytes; // empty: no WAV file at all
        std::string Mp3Name;
        std::string Shown; // "<wav>" stands for the WAV file's path, "<mp3>" for the MP3's
    };
    const std::string tone = test::WavBytes(22050, 1, test::ToneSamples(22050, 1, 0.5));
    const Case cases[] = {
        {"", "report.mp3", "Unable to open <wav>: No such file or directory"},
        {tone, "missing/report.mp3", "The folder of <mp3> does not exist"},
        {"RIFF", "report.mp3", "Read Error reading wav header"},
        {"just some text, not a recording", "report.mp3", "Read Error reading wav header"},
        {test::RiffWave(test::Chunk("fmt ", test::PcmFormatBody(22050, 1, 8)) +
                        test::Chunk("data", "\x80")),
         "report.mp3", "<wav> is not 16-bit PCM audio (format 1, 8 bits per sample)"},
        // No engine records at 2 Hz, but lame's refusal to finish such a stream is real.
        {test::WavBytes(2, 1, {100, 100}), "report.mp3", "beExitStream failed -1"},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        const std::string wav = dir.File("engine.wav");
        const std::string mp3 = dir.File(c.Mp3Name);
        std::string shownText = c.Shown;
        for (const auto& [key, value] : {std::pair{"<wav>", wav}, std::pair{"<mp3>", mp3}})
            if (const auto at = shownText.find(key); at != std::string::npos)
                shownText.replace(at, std::string_view(key).size(), value);
        SCOPED_TRACE(shownText);
        if (!c.WavBytes.empty())
            test::WriteBytes(wav, c.WavBytes);
        dir.Write("report.mp3", "an older report");
        test::ShownMessages shown;
        TMP3Class writer(false);
        EXPECT_FALSE(writer.ConvertFormat(wav, mp3));
        EXPECT_EQ(shown.Texts, std::vector<std::string>{shownText});
        EXPECT_EQ(fs::exists(wav), !c.WavBytes.empty());
        EXPECT_EQ(dir.Read("report.mp3"), "an older report");
    }
}

// A file-size limit makes writes fail for real, like a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int);
};

TEST(ConvertFormat, WriteFailuresLeaveTheOlderFileAndTheAudio) {
    // 30 s at 32 kbps is about 120 KB of MP3: the first 64 KB block already fails to go out.
    // 8 s is about 32 KB, all written at the end.
    for (const auto& [seconds, text] :
         {std::pair{30.0, "Write Error (1)"}, std::pair{8.0, "Write error (2)"}}) {
        SCOPED_TRACE(text);
        test::TempDir dir;
        test::MakeToneWav(dir.File("engine.wav"), 22050, 1, seconds);
        dir.Write("report.mp3", "an older report");
        test::ShownMessages shown;
        TMP3Class writer(false);
        {
            FileSizeLimit limit(20000);
            EXPECT_FALSE(writer.ConvertFormat(dir.File("engine.wav"), dir.File("report.mp3")));
        }
        EXPECT_EQ(shown.Texts, std::vector<std::string>{text});
        EXPECT_EQ(dir.Read("report.mp3"), "an older report");
        EXPECT_TRUE(fs::exists(dir.File("engine.wav")));
        EXPECT_EQ(FilesIn(dir), 2u) << "a temporary file was left";
    }
}

} // namespace
} // namespace olv
