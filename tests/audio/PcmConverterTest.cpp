#include "audio/TPcmConverter.h"
#include "support/audio/ToneWav.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

// Converts in chunks of chunkFrames and collects everything, the flushed rest included.
std::vector<int16_t> ConvertAll(TPcmConverter& converter, const std::vector<int16_t>& input,
                                size_t chunkFrames) {
    const auto inChannels = static_cast<size_t>(converter.InputChannels());
    const auto outChannels = static_cast<size_t>(converter.OutputChannels());
    std::vector<int16_t> output;
    const auto append = [&](const TPcmBlock& block) {
        output.insert(output.end(), block.Samples, block.Samples + block.Frames * outChannels);
    };
    const size_t frames = input.size() / inChannels;
    for (size_t at = 0; at < frames; at += chunkFrames)
        append(
            converter.Convert(input.data() + at * inChannels, std::min(chunkFrames, frames - at)));
    append(converter.Flush());
    return output;
}

// Raised or lowered, mono or stereo, fed whole or in pieces as a file is read: the same
// length and pitch, both channels alike.
TEST(PcmConverter, ChangingTheRateKeepsLengthPitchAndChannels) {
    const auto tone = test::ToneSamples(16000, 2, 1.0, 440.0);
    TPcmConverter whole(16000, 2, 32000, 2), pieces(16000, 2, 32000, 2), lower(16000, 2, 8000, 2);
    const auto once = ConvertAll(whole, tone, tone.size() / 2);
    EXPECT_EQ(ConvertAll(pieces, tone, 333), once);
    for (const auto& [out, rate] :
         {std::pair{once, 32000}, {ConvertAll(lower, tone, 4096), 8000}}) {
        ASSERT_NEAR(double(out.size()) / 2, double(rate), 2.0);
        EXPECT_NEAR(test::ZeroCrossingFrequency(out, 2, rate), 440.0, 3.0);
        for (size_t i = 0; i < out.size(); i += 2)
            ASSERT_EQ(out[i], out[i + 1]) << "frame " << i / 2;
    }
}

// Stereo is made by duplicating, mono by averaging, to the limits of the sample range.
TEST(PcmConverter, ChannelsAreDuplicatedOrAveraged) {
    TPcmConverter toStereo(22050, 1, 22050, 2);
    EXPECT_EQ(ConvertAll(toStereo, {5, -7, 32767, -32768}, 3),
              (std::vector<int16_t>{5, 5, -7, -7, 32767, 32767, -32768, -32768}));
    TPcmConverter toMono(22050, 2, 22050, 1);
    EXPECT_EQ(ConvertAll(toMono, {10, 20, -32768, -32768, 32767, -32768}, 2),
              (std::vector<int16_t>{15, -32768, 0}));
}

} // namespace
} // namespace olv
