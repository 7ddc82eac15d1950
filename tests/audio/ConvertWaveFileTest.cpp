#include "audio/TMP3Class.h"
#include "audio/TWaveFileReader.h"
#include "support/TempDir.h"
#include "support/audio/ToneWav.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace olv {
namespace {

struct Prepared {
    bool Converted = false;
    int Rate = 0;
    int Channels = 0;
    double Seconds = 0;
    double Pitch = 0;
};

// Makes a 1 s 440 Hz source, runs ConvertWaveFile and describes the file the encoder would get.
Prepared Prepare(TMP3Class& writer, int sourceRate, int sourceChannels) {
    test::TempDir dir;
    const std::string source = dir.File("engine.wav");
    const std::string target = dir.File("$$$engine.wav");
    test::MakeToneWav(source, sourceRate, sourceChannels, 1.0);
    Prepared result;
    result.Converted = writer.ConvertWaveFile(source, target);
    EXPECT_EQ(std::filesystem::exists(target), result.Converted);
    EXPECT_TRUE(std::filesystem::exists(source)) << "the caller deletes the source";
    TWaveFileReader reader = TWaveFileReader::Open(result.Converted ? target : source);
    std::vector<int16_t> samples(reader.Frames() * reader.BytesPerFrame() / 2);
    reader.ReadFrames(samples.data(), reader.Frames());
    result.Rate = reader.SampleRate();
    result.Channels = reader.Channels();
    result.Seconds = static_cast<double>(reader.Frames()) / reader.SampleRate();
    result.Pitch = test::ZeroCrossingFrequency(samples, reader.Channels(), reader.SampleRate());
    return result;
}

struct PrepareCase {
    const char* Quality;
    int SourceRate;
    int SourceChannels;
    bool Converted; // false: the source is encoded as it is
    int Rate;       // of the file the encoder gets, and announced to it
    int Channels;
};

TEST(ConvertWaveFile, SourceIsBroughtToTheQuality) {
    const PrepareCase cases[] = {
        {"32 kbps  22.05 KHz  Mono", 22050, 1, false, 22050, 1},
        {"32 kbps  22.05 KHz  Mono", 16000, 1, true, 32000, 1},
        {"16 kbps  11.02 KHz  Mono", 8000, 1, true, 16000, 1},
        {"40 kbps  22.05 KHz  Mono", 16000, 1, true, 22050, 1},
        // A stereo quality always needs the intermediate file, even at the same rate.
        {"64 kbps  22.05 KHz  Stereo", 22050, 1, true, 22050, 2},
        {"64 kbps  22.05 KHz  Stereo", 16000, 1, true, 32000, 2},
        // Engines write mono, but a stereo source is never given to a mono encoder as it is.
        {"32 kbps  22.05 KHz  Mono", 22050, 2, true, 22050, 1},
    };
    for (const PrepareCase& c : cases) {
        SCOPED_TRACE(std::string(c.Quality) + " from " + std::to_string(c.SourceRate) + " Hz, " +
                     std::to_string(c.SourceChannels) + " channels");
        TMP3Class writer(false);
        writer.SetQuality(c.Quality);
        const Prepared p = Prepare(writer, c.SourceRate, c.SourceChannels);
        EXPECT_EQ(p.Converted, c.Converted);
        EXPECT_EQ(p.Rate, c.Rate);
        EXPECT_EQ(p.Channels, c.Channels);
        EXPECT_EQ(writer.EncodeRate(), c.Rate);
        EXPECT_NEAR(p.Seconds, 1.0, 0.001);
        EXPECT_NEAR(p.Pitch, 440.0, 3.0);
    }
}

TEST(ConvertWaveFile, UnusableSourceOrTargetIsLeftToTheEncoder) {
    test::TempDir dir;
    TMP3Class writer(false);
    writer.SetQuality("64 kbps  22.05 KHz  Stereo");
    EXPECT_FALSE(writer.ConvertWaveFile(dir.File("missing.wav"), dir.File("out.wav")));
    dir.Write("text.wav", "not a wave file");
    EXPECT_FALSE(writer.ConvertWaveFile(dir.File("text.wav"), dir.File("out.wav")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.wav")));

    test::MakeToneWav(dir.File("engine.wav"), 16000, 1, 0.2);
    EXPECT_FALSE(writer.ConvertWaveFile(dir.File("engine.wav"), dir.File("no/such/folder.wav")));
    EXPECT_EQ(TAudioFileClass::SampleRateOf(dir.File("engine.wav")), 16000);
}

} // namespace
} // namespace olv
