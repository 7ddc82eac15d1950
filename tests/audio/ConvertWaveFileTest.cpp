#include "audio/TMP3Class.h"
#include "audio/TWaveFileReader.h"
#include "support/TempDir.h"
#include "support/audio/ToneWav.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace olv {
namespace {

namespace fs = std::filesystem;

// Low-rate voices are raised for some qualities; a stereo quality then keeps the raised rate as
// its own. A 1 s 440 Hz source becomes the file the encoder gets, of the rate the encoder is told,
// with the source's length and pitch.
TEST(ConvertWaveFile, SourceIsBroughtToTheRateChosenByChannelsInputRateAndBitrate) {
    struct Case {
        const char* Quality;
        int SourceRate;
        int SourceChannels;
        bool Converted;  // false: the source is encoded as it is
        int Rate;        // of the file the encoder gets
        int QualityRate; // the quality's sample rate afterwards
    };
    const Case cases[] = {
        {"16 kbps  11.02 KHz  Mono", 8000, 1, true, 16000, 11025},
        {"16 kbps  11.02 KHz  Mono", 16000, 1, false, 16000, 11025},
        {"32 kbps  22.05 KHz  Mono", 8000, 1, true, 32000, 22050},
        {"32 kbps  22.05 KHz  Mono", 16000, 1, true, 32000, 22050},
        {"56 kbps  44.1 KHz   Mono", 16000, 1, true, 48000, 44100},
        {"16 kbps  11.02 KHz  Mono", 22050, 1, true, 16000, 11025},
        {"64 kbps  22.05 KHz  Stereo", 16000, 1, true, 32000, 32000},
        {"64 kbps  22.05 KHz  Stereo", 8000, 1, true, 32000, 32000},
        {"112 kbps  44.1 KHz  Stereo", 16000, 1, true, 48000, 48000},
        // Every other combination keeps the quality's rate.
        {"32 kbps  22.05 KHz  Mono", 22050, 1, false, 22050, 22050},
        {"32 kbps  22.05 KHz  Mono", 11025, 1, true, 22050, 22050},
        {"40 kbps  22.05 KHz  Mono", 16000, 1, true, 22050, 22050},
        {"64 kbps  44.1 KHz   Mono", 8000, 1, true, 44100, 44100},
        {"16 kbps  11.02 KHz  Mono", 44100, 1, true, 11025, 11025},
        {"80 kbps  22.05 KHz  Stereo", 16000, 1, true, 22050, 22050},
        {"128 kbps  44.1 KHz  Stereo", 16000, 1, true, 44100, 44100},
        // A stereo quality always needs the intermediate file, even at the same rate.
        {"64 kbps  22.05 KHz  Stereo", 22050, 1, true, 22050, 22050},
        // Engines write mono, but a stereo source is never given to a mono encoder as it is.
        {"32 kbps  22.05 KHz  Mono", 22050, 2, true, 22050, 22050},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Quality) + " from " + std::to_string(c.SourceRate) + " Hz, " +
                     std::to_string(c.SourceChannels) + " channels");
        test::TempDir dir;
        const std::string source = dir.File("engine.wav");
        const std::string target = dir.File("$$$engine.wav");
        test::MakeToneWav(source, c.SourceRate, c.SourceChannels, 1.0);
        TMP3Class writer(true);
        writer.SetQuality(c.Quality);
        EXPECT_EQ(writer.ConvertWaveFile(source, target), c.Converted);
        EXPECT_EQ(fs::exists(target), c.Converted);
        EXPECT_TRUE(fs::exists(source)) << "the caller deletes the source";
        EXPECT_EQ(writer.EncodeRate(), c.Rate);
        EXPECT_EQ(writer.SampleRate(), c.QualityRate);

        TWaveFileReader reader = TWaveFileReader::Open(c.Converted ? target : source);
        EXPECT_EQ(reader.SampleRate(), c.Rate);
        EXPECT_EQ(reader.Channels(), writer.ChannelCount());
        EXPECT_NEAR(static_cast<double>(reader.Frames()) / reader.SampleRate(), 1.0, 0.001);
        std::vector<int16_t> samples(reader.Frames() * reader.BytesPerFrame() / 2);
        reader.ReadFrames(samples.data(), reader.Frames());
        EXPECT_NEAR(test::ZeroCrossingFrequency(samples, reader.Channels(), c.Rate), 440.0, 3.0);
    }
}

} // namespace
} // namespace olv
