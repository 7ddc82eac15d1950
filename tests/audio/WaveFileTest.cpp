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

std::vector<int16_t> ReadAll(TWaveFileReader& reader) {
    std::vector<int16_t> samples(reader.Frames() * reader.BytesPerFrame() / 2 + 8);
    const size_t frames = reader.ReadFrames(samples.data(), samples.size());
    samples.resize(frames * reader.BytesPerFrame() / 2);
    EXPECT_EQ(reader.ReadFrames(samples.data(), 1), 0u);
    return samples;
}

std::string OpenError(const std::string& path) {
    try {
        TWaveFileReader::Open(path);
    } catch (const EAudioFileError& error) {
        return error.what();
    }
    return "opened";
}

const std::vector<int16_t> kStereo = {1, -1, 2, -2, 32767, -32768};

TEST(WaveFile, WriterWritesTheCanonicalLayout) {
    test::TempDir dir;
    const std::string path = dir.File("out.wav");
    {
        TWaveFileWriter writer(path, 16000, 2);
        writer.WriteFrames(kStereo.data(), 2);
        writer.WriteFrames(kStereo.data() + 4, 1);
        EXPECT_FALSE(std::filesystem::exists(path)) << "visible before it is complete";
        writer.Finish();
    }
    EXPECT_EQ(dir.Read("out.wav"), test::WavBytes(16000, 2, kStereo));
    EXPECT_EQ(std::filesystem::file_size(path), 44u + 12u);
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

TEST(WaveFile, ReaderReadsWhatTheWriterWrote) {
    test::TempDir dir;
    const auto tone = test::ToneSamples(8000, 1, 0.5);
    TWaveFileWriter writer(dir.File("tone.wav"), 8000, 1);
    writer.WriteFrames(tone.data(), tone.size());
    writer.Finish();

    TWaveFileReader reader = TWaveFileReader::Open(dir.File("tone.wav"));
    EXPECT_EQ(reader.SampleRate(), 8000);
    EXPECT_EQ(reader.Channels(), 1);
    EXPECT_EQ(reader.Frames(), 4000u);
    EXPECT_EQ(reader.DataBytes(), 8000u);
    EXPECT_EQ(ReadAll(reader), tone);
}

// Chunks before the format, between format and audio, and after the audio (odd sizes padded).
TEST(WaveFile, ReaderSkipsOtherChunks) {
    test::TempDir dir;
    const std::string list = Chunk("LIST", "INFOISFT\x05\0\0\0espeak");
    test::WriteBytes(dir.File("extra.wav"),
                     RiffWave(Chunk("JUNK", "abc") + Chunk("fmt ", PcmFormatBody(22050, 2)) + list +
                              Chunk("fact", "\x03\0\0\0") + Chunk("data", SampleBytes(kStereo)) +
                              Chunk("LIST", std::string(1001, 'x'))));
    TWaveFileReader reader = TWaveFileReader::Open(dir.File("extra.wav"));
    EXPECT_EQ(reader.SampleRate(), 22050);
    EXPECT_EQ(reader.Channels(), 2);
    EXPECT_EQ(reader.Frames(), 3u);
    EXPECT_EQ(ReadAll(reader), kStereo);
}

TEST(WaveFile, ReaderAcceptsExtensiblePcm) {
    test::TempDir dir;
    test::WriteBytes(dir.File("ext.wav"),
                     RiffWave(Chunk("fmt ", PcmFormatBody(48000, 2, 16, true)) +
                              Chunk("data", SampleBytes(kStereo))));
    TWaveFileReader reader = TWaveFileReader::Open(dir.File("ext.wav"));
    EXPECT_EQ(reader.SampleRate(), 48000);
    EXPECT_EQ(ReadAll(reader), kStereo);
}

// A streaming writer (espeak-ng --stdout) leaves the data size open; a crashed one leaves it short.
TEST(WaveFile, ReaderTakesTheAudioThatIsThere) {
    test::TempDir dir;
    for (const char* size : {"\xFF\xFF\xFF\x7F", "\xFF\xFF\xFF\xFF", "\x00\x10\x00\x00"}) {
        const std::string bytes = RiffWave(Chunk("fmt ", PcmFormatBody(22050, 2))) + "data" +
                                  std::string(size, 4) + SampleBytes(kStereo) + "\x07";
        test::WriteBytes(dir.File("open.wav"), bytes);
        TWaveFileReader reader = TWaveFileReader::Open(dir.File("open.wav"));
        EXPECT_EQ(reader.Frames(), 3u);
        EXPECT_EQ(ReadAll(reader), kStereo);
    }
}

TEST(WaveFile, ReaderNamesWhatIsWrong) {
    test::TempDir dir;
    const std::string missing = dir.File("missing.wav");
    EXPECT_EQ(OpenError(missing), "Unable to open " + missing + ": No such file or directory");

    struct Bad {
        std::string Bytes;
        std::string Complaint;
    };
    const std::string fmt = Chunk("fmt ", PcmFormatBody(22050, 1));
    const Bad bad[] = {
        {"", "is not a WAV file"},
        {"RIFF\x10\0\0\0AVI LIST", "is not a WAV file"},
        {RiffWave(fmt), "holds no audio data"},
        {RiffWave(Chunk("data", SampleBytes(kStereo))),
         "has no format description before its audio"},
        {RiffWave(Chunk("fmt ", "\x01\0\x01\0")), "has a damaged format description"},
        {RiffWave(Chunk("fmt ", PcmFormatBody(22050, 1, 8)) + Chunk("data", "\x80\x80")),
         "is not 16-bit PCM audio (format 1, 8 bits per sample)"},
        {RiffWave(Chunk("fmt ", PcmFormatBody(22050, 6)) + Chunk("data", "")),
         "has 6 channels; only mono and stereo are supported"},
    };
    for (const Bad& b : bad) {
        test::WriteBytes(dir.File("bad.wav"), b.Bytes);
        EXPECT_EQ(OpenError(dir.File("bad.wav")), dir.File("bad.wav") + " " + b.Complaint);
    }
}

} // namespace
} // namespace olv
