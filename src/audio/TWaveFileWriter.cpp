#include "audio/TWaveFileWriter.h"

#include "audio/EAudioFileError.h"

#include <cstring>

namespace olv {
namespace {

// The data size of a stream's header: the length is not known yet (espeak-ng writes the same).
constexpr uint32_t kStreamDataBytes = 0x7FFFF000;

void PutLe16(unsigned char* p, uint32_t value) {
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
}

void PutLe32(unsigned char* p, uint32_t value) {
    PutLe16(p, value & 0xFFFF);
    PutLe16(p + 2, value >> 16);
}

} // namespace

TWaveFileWriter::TWaveFileWriter(const std::string& path, int sampleRate, int channels,
                                 uint64_t maxDataBytes)
    : file_(path), sampleRate_(sampleRate), channels_(channels), maxDataBytes_(maxDataBytes) {
    // The sizes of a file are filled in by Finish, once they are known.
    WriteHeader(file_.IsStream() ? kStreamDataBytes : 0);
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
    const uint64_t bytes = frames * static_cast<uint64_t>(channels_) * 2;
    if (frames_ * static_cast<uint64_t>(channels_) * 2 + bytes > maxDataBytes_)
        throw EAudioFileError(kLimitText);
    file_.Write(samples, static_cast<size_t>(bytes));
    frames_ += frames;
}

void TWaveFileWriter::Finish() {
    if (!file_.IsStream())
        WriteHeader(frames_ * static_cast<uint64_t>(channels_) * 2);
    file_.Commit();
}

} // namespace olv
