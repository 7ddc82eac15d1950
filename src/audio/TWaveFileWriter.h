#pragma once

#include "audio/TAtomicFileWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace olv {

// Writes 16-bit PCM audio as a WAV file with the canonical 44-byte header. The file appears
// under its name only when Finish succeeds; until then it is a temporary file beside it. Into
// a pipe or a device the audio streams as it comes, behind a header that leaves the length
// open (as streaming programs write it).
class TWaveFileWriter {
public:
    static constexpr size_t kHeaderSize = 44;
    // The most audio data a WAV file can describe: its RIFF size is a 32-bit count.
    static constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - (kHeaderSize - 8);
    static constexpr const char* kLimitText = "The audio file would pass the WAV limit of 4 GB";

    // Throws EAudioFileError when the file cannot be made. maxDataBytes is for tests.
    TWaveFileWriter(const std::string& path, int sampleRate, int channels,
                    uint64_t maxDataBytes = kMaxDataBytes);

    // Appends interleaved frames. Throws EAudioFileError on a write error, or with kLimitText
    // before the audio would pass the limit (nothing of those frames is written).
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
    uint64_t maxDataBytes_;
    uint64_t frames_ = 0;
};

} // namespace olv
