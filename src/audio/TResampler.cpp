#include "audio/TResampler.h"

#include "audio/EAudioFileError.h"

#include <soxr.h>
#include <string>

namespace olv {

void TResampler::SoxrDeleter::operator()(soxr* resampler) const {
    soxr_delete(resampler);
}

TResampler::TResampler(int inputRate, int outputRate, int channels)
    : ratio_(static_cast<double>(outputRate) / inputRate),
      channels_(static_cast<size_t>(channels)) {
    // Without dither the result does not depend on how the input was cut into chunks.
    soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    io.flags |= SOXR_NO_DITHER;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    soxr_.reset(soxr_create(inputRate, outputRate, static_cast<unsigned>(channels), &error, &io,
                            &quality, nullptr));
    if (error || !soxr_)
        throw EAudioFileError("Unable to convert " + std::to_string(inputRate) + " Hz audio to " +
                              std::to_string(outputRate) + " Hz: " + soxr_strerror(error));
}

void TResampler::Process(const int16_t* samples, size_t frames, std::vector<int16_t>& out) {
    Run(samples, frames, out);
}

void TResampler::Flush(std::vector<int16_t>& out) {
    Run(nullptr, 0, out);
}

// Feeds the input (none: end of input) and collects output until soxr has nothing more ready.
void TResampler::Run(const int16_t* samples, size_t frames, std::vector<int16_t>& out) {
    out.clear();
    size_t consumed = 0;
    for (;;) {
        const auto room =
            static_cast<size_t>(static_cast<double>(frames - consumed) * ratio_) + 256;
        const size_t filled = out.size();
        out.resize(filled + room * channels_);
        size_t used = 0;
        size_t made = 0;
        const int16_t* next = samples ? samples + consumed * channels_ : nullptr;
        const soxr_error_t error = soxr_process(soxr_.get(), next, frames - consumed, &used,
                                                out.data() + filled, room, &made);
        out.resize(filled + made * channels_);
        if (error)
            throw EAudioFileError(std::string("Sample rate conversion failed: ") + error);
        consumed += used;
        if (consumed >= frames && made < room)
            return;
    }
}

} // namespace olv
