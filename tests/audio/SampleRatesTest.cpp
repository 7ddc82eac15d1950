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

TEST(SampleRates, LowRateVoicesAreRaisedForSomeMonoQualities) {
    const RateCase cases[] = {
        {"16 kbps  11.02 KHz  Mono", 8000, 16000, 16000, 11025},
        {"16 kbps  11.02 KHz  Mono", 16000, 16000, 16000, 11025},
        {"32 kbps  22.05 KHz  Mono", 8000, 32000, 32000, 22050},
        {"32 kbps  22.05 KHz  Mono", 16000, 32000, 32000, 22050},
        {"56 kbps  44.1 KHz   Mono", 16000, 48000, 48000, 44100},
        {"16 kbps  11.02 KHz  Mono", 22050, 16000, 16000, 11025},
    };
    for (const RateCase& c : cases)
        ExpectRates(c);
}

// The quality keeps the raised rate, and the encoder is told the rate the audio really has.
TEST(SampleRates, LowRateVoicesAreRaisedForSomeStereoQualities) {
    ExpectRates({"64 kbps  22.05 KHz  Stereo", 16000, 32000, 32000, 32000});
    ExpectRates({"64 kbps  22.05 KHz  Stereo", 8000, 32000, 32000, 32000});
    ExpectRates({"112 kbps  44.1 KHz  Stereo", 16000, 48000, 48000, 48000});
}

TEST(SampleRates, OtherCombinationsUseTheQualityRate) {
    const RateCase cases[] = {
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

// The base class has no rules of its own. (ConvertFormat is not under test here.)
class PlainAudioFile : public TAudioFileClass {
public:
    PlainAudioFile() : TAudioFileClass(false) {}
    bool ConvertFormat(const std::string&, const std::string&) override { return false; }
};

TEST(SampleRates, BaseClassAlwaysUsesTheQualityRate) {
    PlainAudioFile file;
    file.SetQuality("16 kbps  11.02 KHz  Mono");
    const TSampleRates rates = file.GetSampleRates(8000);
    EXPECT_EQ(rates.ConvertRate, 11025);
    EXPECT_EQ(rates.EncodeRate, 11025);
}

} // namespace
} // namespace olv
