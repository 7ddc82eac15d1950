#pragma once

#include "audio/TAtomicFileWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace olv {

// Writes 16-bit PCM audio as a WAV file with the canonical 44-byte header. The file appears
// under its name only when Finish succeeds; until then it is a temporary file beside it.
class TWaveFileWriter {
public:
    static constexpr size_t kHeaderSize = 44;

    // Throws std::system_error when the file cannot be created.
    TWaveFileWriter(const std::string& path, int sampleRate, int channels);

    // Appends interleaved frames; throws std::system_error on a write error.
    void WriteFrames(const int16_t* samples, size_t frames);
    // Completes the header and puts the file in place; throws on failure (the old file stays).
    void Finish();

    uint64_t Frames() const { return frames_; }
    int SampleRate() const { return sampleRate_; }
    int Channels() const { return channels_; }

private:
    void WriteHeader(uint64_t dataBytes);

    TAtomicFileWriter file_;
    int sampleRate_;
    int channels_;
    uint64_t frames_ = 0;
};

} // namespace olv
