#include "audio/TMP3Class.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

struct RateCase {
    const char* Quality;
    int InputRate;
    int ConvertRate;
    int EncodeRate;
    int SampleRateAfter;
};

void ExpectRates(const RateCase& c) {
    SCOPED_TRACE(std::string(c.Quality) + " from " + std::to_string(c.InputRate) + " Hz");
    TMP3Class writer(true);
    writer.SetQuality(c.Quality);
    const TSampleRates rates = writer.GetSampleRates(c.InputRate);
    EXPECT_EQ(rates.ConvertRate, c.ConvertRate);
    EXPECT_EQ(rates.EncodeRate, c.EncodeRate);
    EXPECT_EQ(writer.SampleRate(), c.SampleRateAfter);
}

// Low-rate voices are raised for some qualities; a stereo quality then keeps the raised rate as
// its own, and the encoder is always told the rate the audio really has.
TEST(SampleRates, ChosenByChannelsInputRateAndBitrate) {
    const RateCase cases[] = {
        {"16 kbps  11.02 KHz  Mono", 8000, 16000, 16000, 11025},
        {"16 kbps  11.02 KHz  Mono", 16000, 16000, 16000, 11025},
        {"32 kbps  22.05 KHz  Mono", 8000, 32000, 32000, 22050},
        {"32 kbps  22.05 KHz  Mono", 16000, 32000, 32000, 22050},
        {"56 kbps  44.1 KHz   Mono", 16000, 48000, 48000, 44100},
        {"16 kbps  11.02 KHz  Mono", 22050, 16000, 16000, 11025},
        {"64 kbps  22.05 KHz  Stereo", 16000, 32000, 32000, 32000},
        {"64 kbps  22.05 KHz  Stereo", 8000, 32000, 32000, 32000},
        {"112 kbps  44.1 KHz  Stereo", 16000, 48000, 48000, 48000},
        // Every other combination keeps the quality's rate.
        {"32 kbps  22.05 KHz  Mono", 22050, 22050, 22050, 22050},
        {"32 kbps  22.05 KHz  Mono", 11025, 22050, 22050, 22050},
        {"40 kbps  22.05 KHz  Mono", 16000, 22050, 22050, 22050},
        {"64 kbps  44.1 KHz   Mono", 8000, 44100, 44100, 44100},
        {"16 kbps  11.02 KHz  Mono", 44100, 11025, 11025, 11025},
        {"64 kbps  22.05 KHz  Stereo", 22050, 22050, 22050, 22050},
        {"80 kbps  22.05 KHz  Stereo", 16000, 22050, 22050, 22050},
        {"128 kbps  44.1 KHz  Stereo", 16000, 44100, 44100, 44100},
    };
    for (const RateCase& c : cases)
        ExpectRates(c);
}

} // namespace
} // namespace olv
