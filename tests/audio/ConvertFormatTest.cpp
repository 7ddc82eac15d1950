#include "audio/AudioTestSupport.h"
#include "audio/TMP3Class.h"

#include <filesystem>
#include <gtest/gtest.h>

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
                          Case{"16 kbps  11.02 KHz  Mono", 8000, 16000},
                          Case{"64 kbps  22.05 KHz  Stereo", 16000, 24000},
                          Case{"128 kbps  44.1 KHz  Stereo", 22050, 44100}}) {
        SCOPED_TRACE(std::string(c.Quality) + " from " + std::to_string(c.SourceRate));
        test::TempDir dir;
        test::ShownMessages shown;
        test::MakeToneWav(dir.File("engine.wav"), c.SourceRate, 1, 2.0);
        TMP3Class writer(true);
        writer.SetQuality(c.Quality);
        ASSERT_TRUE(test::MakeMp3(writer, dir.File("engine.wav"), dir.File("report.mp3")));
        EXPECT_EQ(FilesIn(dir), 1u) << "a WAV file was left";

        const test::Mp3Info info = test::ReadMp3Info(dir.File("report.mp3"));
        EXPECT_EQ(std::vector<int64_t>({info.SampleRate, info.ChannelMode, info.Bitrate,
                                        info.LeadingBytes, info.UnparsedBytes}),
                  std::vector<int64_t>({c.Mp3Rate, writer.ChannelCount() == 2 ? 0 : 3,
                                        writer.Bitrate(), 0, 0})); // mode 0 stereo, 3 mono
        EXPECT_TRUE(info.ConstantBitrate && info.Consistent && info.PrivateBit);
        EXPECT_FALSE(info.Crc || info.Copyright || info.Original);
        test::ExpectLength(info, 2.0);
        test::ExpectDecodesTo(dir.File("report.mp3"), dir, 2.0, writer.ChannelCount(), 440.0);
        EXPECT_TRUE(shown.Texts.empty());
    }
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

} // namespace
} // namespace olv
