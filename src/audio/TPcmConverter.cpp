#include "audio/TPcmConverter.h"

#include "audio/EAudioFileError.h"

#include <algorithm>
#include <string>

namespace olv {
namespace {

void CheckFormat(int rate, int channels) {
    if (rate <= 0 || channels < 1 || channels > 2)
        throw EAudioFileError("Audio of " + std::to_string(rate) + " Hz with " +
                              std::to_string(channels) + " channels cannot be converted");
}

} // namespace

TPcmConverter::TPcmConverter(int inputRate, int inputChannels, int outputRate, int outputChannels)
    : inputChannels_(inputChannels), outputChannels_(outputChannels) {
    CheckFormat(inputRate, inputChannels);
    CheckFormat(outputRate, outputChannels);
    if (inputRate != outputRate)
        resampler_.emplace(inputRate, outputRate, std::min(inputChannels, outputChannels));
}

TPcmBlock TPcmConverter::Convert(const int16_t* samples, size_t frames) {
    if (inputChannels_ == 2 && outputChannels_ == 1) {
        mixed_.resize(frames);
        for (size_t i = 0; i < frames; ++i)
            mixed_[i] = static_cast<int16_t>((samples[2 * i] + samples[2 * i + 1]) / 2);
        samples = mixed_.data();
    }
    if (resampler_) {
        resampler_->Process(samples, frames, resampled_);
        samples = resampled_.data();
        frames = resampled_.size() / static_cast<size_t>(std::min(inputChannels_, outputChannels_));
    }
    return Finish(samples, frames);
}

TPcmBlock TPcmConverter::Flush() {
    if (!resampler_)
        return {};
    resampler_->Flush(resampled_);
    return Finish(resampled_.data(), resampled_.size() / static_cast<size_t>(std::min(
                                                             inputChannels_, outputChannels_)));
}

// Duplicates mono into stereo when asked; otherwise the frames are already in their final form.
TPcmBlock TPcmConverter::Finish(const int16_t* samples, size_t frames) {
    if (!(inputChannels_ == 1 && outputChannels_ == 2))
        return {samples, frames};
    doubled_.resize(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        doubled_[2 * i] = samples[i];
        doubled_[2 * i + 1] = samples[i];
    }
    return {doubled_.data(), frames};
}

} // namespace olv
