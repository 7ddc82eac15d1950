#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct soxr;

namespace olv {

// Streaming sample-rate conversion of interleaved 16-bit PCM over libsoxr (high quality).
// Channels are kept as they are; soxr never mixes them.
class TResampler {
public:
    // Throws EAudioFileError when soxr refuses the rates.
    TResampler(int inputRate, int outputRate, int channels);

    // Resamples frames; out receives the frames that are ready (its old contents are replaced).
    void Process(const int16_t* samples, size_t frames, std::vector<int16_t>& out);
    // Ends the input; out receives what the resampler still held.
    void Flush(std::vector<int16_t>& out);

private:
    struct SoxrDeleter {
        void operator()(soxr* resampler) const;
    };

    void Run(const int16_t* samples, size_t frames, std::vector<int16_t>& out);

    std::unique_ptr<soxr, SoxrDeleter> soxr_;
    double ratio_;
    size_t channels_;
};

} // namespace olv
