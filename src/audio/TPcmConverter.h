#pragma once

#include "audio/TResampler.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace olv {

// Interleaved 16-bit frames handed out by TPcmConverter; valid until its next call.
struct TPcmBlock {
    const int16_t* Samples = nullptr;
    size_t Frames = 0;
};

// Brings interleaved 16-bit PCM (mono or stereo) to another sample rate and channel count,
// chunk by chunk. Stereo is made from mono by duplicating each sample (neither soxr nor lame
// does it), mono from stereo by averaging; the rate goes through the fewer channels.
class TPcmConverter {
public:
    // Throws EAudioFileError for other channel counts or a rate that is not positive.
    TPcmConverter(int inputRate, int inputChannels, int outputRate, int outputChannels);

    TPcmBlock Convert(const int16_t* samples, size_t frames);
    // The end of the input: what the resampler still holds.
    TPcmBlock Flush();

    int InputChannels() const { return inputChannels_; }
    int OutputChannels() const { return outputChannels_; }

private:
    TPcmBlock Finish(const int16_t* samples, size_t frames);

    int inputChannels_;
    int outputChannels_;
    std::optional<TResampler> resampler_;
    std::vector<int16_t> mixed_;
    std::vector<int16_t> resampled_;
    std::vector<int16_t> doubled_;
};

} // namespace olv
