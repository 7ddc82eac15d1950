#include "audio/EAudioFileError.h"
#include "audio/TWaveFileReader.h"
#include "audio/TWaveFileWriter.h"
#include "support/TempDir.h"
#include "support/audio/ToneWav.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <system_error>

namespace olv {
namespace {

using test::Chunk;
using test::PcmFormatBody;
using test::RiffWave;
using test::SampleBytes;

const std::vector<int16_t> kStereo = {1, -1, 2, -2, 32767, -32768};

// Everything the reader delivers, checking that it ends with the audio.
std::vector<int16_t> ReadAll(TWaveFileReader& reader) {
    std::vector<int16_t> samples(reader.Frames() * reader.BytesPerFrame() / 2 + 8);
    const size_t frames = reader.ReadFrames(samples.data(), samples.size());
    samples.resize(frames * reader.BytesPerFrame() / 2);
    EXPECT_EQ(reader.ReadFrames(samples.data(), 1), 0u);
    return samples;
}

TEST(WaveFile, WriterWritesTheCanonicalLayoutWhenFinished) {
    test::TempDir dir;
    const std::string path = dir.File("out.wav");
    TWaveFileWriter writer(path, 16000, 2);
    writer.WriteFrames(kStereo.data(), 2);
    writer.WriteFrames(kStereo.data() + 4, 1);
    EXPECT_FALSE(std::filesystem::exists(path)) << "visible before it is complete";
    writer.Finish();
    EXPECT_EQ(dir.Read("out.wav"), test::WavBytes(16000, 2, kStereo));

    TWaveFileReader reader = TWaveFileReader::Open(path);
    EXPECT_EQ(reader.SampleRate(), 16000);
    EXPECT_EQ(reader.Channels(), 2);
    EXPECT_EQ(reader.DataBytes(), 12u);
    EXPECT_EQ(ReadAll(reader), kStereo);
}

TEST(WaveFile, UnfinishedWriterLeavesNothingBehind) {
    test::TempDir dir;
    dir.Write("out.wav", "old");
    {
        TWaveFileWriter writer(dir.File("out.wav"), 22050, 1);
        writer.WriteFrames(kStereo.data(), 6);
    }
    EXPECT_EQ(dir.Read("out.wav"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    EXPECT_THROW(TWaveFileWriter(dir.File("missing/out.wav"), 22050, 1), std::system_error);
}

TEST(WaveFile, ReaderFindsTheAudioInOtherLayouts) {
    const std::string fmt = Chunk("fmt ", PcmFormatBody(22050, 2));
    const std::string audio = SampleBytes(kStereo);
    // A streaming writer (espeak-ng --stdout) leaves the data size open; a crashed one leaves it
    // short.
    const auto openSize = [&](const char* size) {
        return RiffWave(fmt) + "data" + std::string(size, 4) + audio + "\x07";
    };
    const std::pair<const char*, std::string> layouts[] = {
        {"chunks before, between and after (odd sizes padded)",
         RiffWave(Chunk("JUNK", "abc") + fmt + Chunk("LIST", "INFOISFT\x05\0\0\0espeak") +
                  Chunk("fact", "\x03\0\0\0") + Chunk("data", audio) +
                  Chunk("LIST", std::string(1001, 'x')))},
        {"extensible PCM",
         RiffWave(Chunk("fmt ", PcmFormatBody(22050, 2, 16, true)) + Chunk("data", audio))},
        {"size left open", openSize("\xFF\xFF\xFF\x7F")},
        {"size left open, unsigned", openSize("\xFF\xFF\xFF\xFF")},
        {"size too large", openSize("\x00\x10\x00\x00")},
    };
    test::TempDir dir;
    for (const auto& [layout, bytes] : layouts) {
        SCOPED_TRACE(layout);
        test::WriteBytes(dir.File("in.wav"), bytes);
        TWaveFileReader reader = TWaveFileReader::Open(dir.File("in.wav"));
        EXPECT_EQ(reader.SampleRate(), 22050);
        EXPECT_EQ(reader.Channels(), 2);
        EXPECT_EQ(reader.Frames(), 3u);
        EXPECT_EQ(ReadAll(reader), kStereo);
    }
}

TEST(WaveFile, ReaderNamesWhatIsWrong) {
    test::TempDir dir;
    const auto openError = [](const std::string& path) -> std::string {
        try {
            TWaveFileReader::Open(path);
        } catch (const EAudioFileError& error) {
            return error.what();
        }
        return "opened";
    };
    const std::string missing = dir.File("missing.wav");
    EXPECT_EQ(openError(missing), "Unable to open " + missing + ": No such file or directory");

    const std::pair<std::string, std::string> bad[] = {
        {"", "is not a WAV file"},
        {"RIFF\x10\0\0\0AVI LIST", "is not a WAV file"},
        {RiffWave(Chunk("fmt ", PcmFormatBody(22050, 1))), "holds no audio data"},
        {RiffWave(Chunk("data", SampleBytes(kStereo))),
         "has no format description before its audio"},
        {RiffWave(Chunk("fmt ", "\x01\0\x01\0")), "has a damaged format description"},
        {RiffWave(Chunk("fmt ", PcmFormatBody(22050, 1, 8)) + Chunk("data", "\x80\x80")),
         "is not 16-bit PCM audio (format 1, 8 bits per sample)"},
        {RiffWave(Chunk("fmt ", PcmFormatBody(22050, 6)) + Chunk("data", "")),
         "has 6 channels; only mono and stereo are supported"},
    };
    for (const auto& [bytes, complaint] : bad) {
        test::WriteBytes(dir.File("bad.wav"), bytes);
        EXPECT_EQ(openError(dir.File("bad.wav")), dir.File("bad.wav") + " " + complaint);
    }
}

} // namespace
} // namespace olv
