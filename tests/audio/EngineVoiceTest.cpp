#include "audio/AudioTestSupport.h"

#include <flite.h>
#include <gtest/gtest.h>

// flite declares its voice registrations in no header.
extern "C" cst_voice* register_cmu_us_kal(const char* voxdir);
extern "C" cst_voice* register_cmu_us_kal16(const char* voxdir);

namespace olv {
namespace {

constexpr const char* kReport =
    "Good morning. Here is the weather for Springfield. It is 72 degrees and sunny, "
    "with a light wind from the south west.";

// The report read by a real engine voice into its own WAV file; returns its length in seconds.
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
        const double seconds = RenderReport(Voice(), dir.File("report.wav"));
        ASSERT_EQ(TAudioFileClass::SampleRateOf(dir.File("report.wav")), GetParam());
        TMP3Class writer(false);
        writer.SetQuality(quality);
        ASSERT_TRUE(test::MakeMp3(writer, dir.File("report.wav"), dir.File("report.mp3")));

        const test::Mp3Info info = test::ReadMp3Info(dir.File("report.mp3"));
        EXPECT_EQ(info.Channels, writer.ChannelCount());
        EXPECT_EQ(info.Bitrate, writer.Bitrate());
        test::ExpectLength(info, seconds);
        test::ExpectDecodesTo(dir.File("report.mp3"), dir, seconds, writer.ChannelCount());
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, EngineVoice, ::testing::Values(8000, 16000),
                         [](const auto& info) { return std::to_string(info.param) + "Hz"; });

} // namespace
} // namespace olv
