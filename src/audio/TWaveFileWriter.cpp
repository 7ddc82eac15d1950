#include "audio/TWaveFileWriter.h"

#include "audio/EAudioFileError.h"

#include <cstring>
#include <limits>

namespace olv {
namespace {

void PutLe16(unsigned char* p, uint32_t value) {
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
}

void PutLe32(unsigned char* p, uint32_t value) {
    PutLe16(p, value & 0xFFFF);
    PutLe16(p + 2, value >> 16);
}

} // namespace

TWaveFileWriter::TWaveFileWriter(const std::string& path, int sampleRate, int channels)
    : file_(path), sampleRate_(sampleRate), channels_(channels) {
    // The sizes are filled in by Finish, once they are known.
    WriteHeader(0);
}

void TWaveFileWriter::WriteHeader(uint64_t dataBytes) {
    const auto blockAlign = static_cast<uint32_t>(channels_ * 2);
    unsigned char header[kHeaderSize];
    std::memcpy(header, "RIFF", 4);
    PutLe32(header + 4, static_cast<uint32_t>(dataBytes + kHeaderSize - 8));
    std::memcpy(header + 8, "WAVEfmt ", 8);
    PutLe32(header + 16, 16);
    PutLe16(header + 20, 1); // PCM
    PutLe16(header + 22, static_cast<uint32_t>(channels_));
    PutLe32(header + 24, static_cast<uint32_t>(sampleRate_));
    PutLe32(header + 28, static_cast<uint32_t>(sampleRate_) * blockAlign);
    PutLe16(header + 32, blockAlign);
    PutLe16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    PutLe32(header + 40, static_cast<uint32_t>(dataBytes));
    if (file_.Size() == 0)
        file_.Write(header, sizeof header);
    else
        file_.WriteAt(0, header, sizeof header);
}

void TWaveFileWriter::WriteFrames(const int16_t* samples, size_t frames) {
    file_.Write(samples, frames * static_cast<size_t>(channels_) * 2);
    frames_ += frames;
}

void TWaveFileWriter::Finish() {
    const uint64_t dataBytes = frames_ * static_cast<uint64_t>(channels_) * 2;
    if (dataBytes > std::numeric_limits<uint32_t>::max() - kHeaderSize)
        throw EAudioFileError(file_.Path() + " would be larger than a WAV file can be");
    WriteHeader(dataBytes);
    file_.Commit();
}

} // namespace olv
