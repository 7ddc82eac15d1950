#include "audio/TMP3Class.h"
#include "audio/TWaveFileReader.h"
#include "support/TempDir.h"
#include "support/audio/LameDecode.h"
#include "support/audio/Mp3Info.h"

#include <filesystem>
#include <flite.h>
#include <gtest/gtest.h>

// flite declares its voice registrations in no header.
extern "C" cst_voice* register_cmu_us_kal(const char* voxdir);
extern "C" cst_voice* register_cmu_us_kal16(const char* voxdir);

namespace olv {
namespace {

namespace fs = std::filesystem;

constexpr const char* kReport =
    "Good morning. Here is the weather for Springfield. It is 72 degrees and sunny, "
    "with a light wind from the south west.";

// Renders the report with a real engine voice into a WAV file; returns its length in seconds.
double RenderReport(cst_voice* voice, const std::string& path) {
    cst_wave* wave = flite_text_to_wave(kReport, voice);
    const double seconds = static_cast<double>(wave->num_samples) / wave->sample_rate;
    cst_wave_save_riff(wave, path.c_str());
    delete_wave(wave);
    return seconds;
}

class EngineVoice : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() { flite_init(); }
    cst_voice* Voice() const {
        static cst_voice* kal = register_cmu_us_kal(nullptr);
        static cst_voice* kal16 = register_cmu_us_kal16(nullptr);
        return GetParam() == 8000 ? kal : kal16;
    }
};

TEST_P(EngineVoice, ReportBecomesAnMp3OfTheSameLength) {
    for (const char* quality : {"32 kbps  22.05 KHz  Mono", "64 kbps  22.05 KHz  Stereo"}) {
        SCOPED_TRACE(quality);
        test::TempDir dir;
        const std::string engineWav = dir.File("report.wav");
        const double seconds = RenderReport(Voice(), engineWav);
        ASSERT_EQ(TAudioFileClass::SampleRateOf(engineWav), GetParam());

        TMP3Class writer(false);
        writer.SetQuality(quality);
        const std::string intermediate = dir.File("$$$report.wav");
        ASSERT_TRUE(writer.ConvertWaveFile(engineWav, intermediate));
        fs::remove(engineWav);
        ASSERT_TRUE(writer.ConvertFormat(intermediate, dir.File("report.mp3")));

        const test::Mp3Info info = test::ReadMp3Info(dir.File("report.mp3"));
        EXPECT_EQ(info.Channels, writer.ChannelCount());
        EXPECT_EQ(info.Bitrate, writer.Bitrate());
        EXPECT_GE(info.Duration(), seconds);
        EXPECT_LE(info.Duration(), seconds + 0.15);

        ASSERT_TRUE(test::LameDecode(dir.File("report.mp3"), dir.File("decoded.wav")));
        TWaveFileReader decoded = TWaveFileReader::Open(dir.File("decoded.wav"));
        EXPECT_EQ(decoded.Channels(), writer.ChannelCount());
        EXPECT_NEAR(static_cast<double>(decoded.Frames()) / decoded.SampleRate(), seconds, 0.15);
        EXPECT_FALSE(fs::exists(intermediate));
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, EngineVoice, ::testing::Values(8000, 16000),
                         [](const auto& info) { return std::to_string(info.param) + "Hz"; });

} // namespace
} // namespace olv
