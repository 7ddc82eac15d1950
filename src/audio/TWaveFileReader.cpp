#include "audio/TWaveFileReader.h"

#include "audio/EAudioFileError.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "samples are read in host byte order");

namespace olv {
namespace {

constexpr int kFormatPcm = 1;
constexpr int kFormatExtensible = 0xFFFE;

uint16_t Le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsId(const unsigned char* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

} // namespace

TWaveFileReader::TWaveFileReader(const std::string& path) : path_(path) {
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_)
        throw EAudioFileError("Unable to open " + path + ": " + std::strerror(errno));
    struct stat st {};
    if (::fstat(::fileno(file_.get()), &st) == 0)
        fileSize_ = static_cast<uint64_t>(st.st_size);
}

TWaveFileReader TWaveFileReader::Open(const std::string& path) {
    TWaveFileReader reader(path);
    reader.ReadHeader();
    reader.CheckPcm16();
    return reader;
}

void TWaveFileReader::Fail(const std::string& reason) const {
    throw EAudioFileError(path_ + " " + reason);
}

void TWaveFileReader::ReadExactly(void* data, size_t size, const char* what) {
    if (std::fread(data, 1, size, file_.get()) == size)
        return;
    if (std::ferror(file_.get()))
        Fail(std::string("could not be read: ") + std::strerror(errno));
    Fail(what);
}

void TWaveFileReader::Skip(uint64_t size) {
    if (::fseeko(file_.get(), static_cast<off_t>(size), SEEK_CUR) != 0)
        Fail(std::string("could not be read: ") + std::strerror(errno));
}

void TWaveFileReader::ReadHeader() {
    unsigned char riff[12];
    ReadExactly(riff, sizeof riff, "is not a WAV file");
    if (!IsId(riff, "RIFF") || !IsId(riff + 8, "WAVE"))
        Fail("is not a WAV file");
    uint64_t position = sizeof riff;
    for (;;) {
        unsigned char chunk[8];
        ReadExactly(chunk, sizeof chunk, "holds no audio data");
        position += sizeof chunk;
        const uint32_t size = Le32(chunk + 4);
        if (IsId(chunk, "data")) {
            if (channels_ == 0)
                Fail("has no format description before its audio");
            const uint64_t available = fileSize_ > position ? fileSize_ - position : 0;
            // Streaming writers leave the size open (0x7FFFFFFF, 0xFFFFFFFF); take what is there.
            const uint64_t bytes = size > available ? available : size;
            frames_ = blockAlign_ > 0 ? bytes / static_cast<uint64_t>(blockAlign_) : 0;
            return;
        }
        if (IsId(chunk, "fmt "))
            ReadFormatChunk(size);
        else
            Skip(size);
        // Chunks are padded to an even length.
        if (size % 2 != 0)
            Skip(1);
        position += size + size % 2;
    }
}

void TWaveFileReader::ReadFormatChunk(uint32_t size) {
    if (size < 16)
        Fail("has a damaged format description");
    unsigned char fmt[40] = {};
    const size_t wanted = size < sizeof fmt ? size : sizeof fmt;
    ReadExactly(fmt, wanted, "has a damaged format description");
    Skip(size - wanted);
    formatTag_ = Le16(fmt);
    channels_ = Le16(fmt + 2);
    sampleRate_ = static_cast<int>(Le32(fmt + 4));
    blockAlign_ = Le16(fmt + 12);
    bitsPerSample_ = Le16(fmt + 14);
    // WAVE_FORMAT_EXTENSIBLE names the real format in the first bytes of its sub-format GUID.
    if (formatTag_ == kFormatExtensible && wanted >= 26)
        formatTag_ = Le16(fmt + 24);
    if (channels_ == 0 || sampleRate_ <= 0)
        Fail("has a damaged format description");
}

void TWaveFileReader::CheckPcm16() const {
    if (formatTag_ != kFormatPcm || bitsPerSample_ != 16)
        Fail("is not 16-bit PCM audio (format " + std::to_string(formatTag_) + ", " +
             std::to_string(bitsPerSample_) + " bits per sample)");
    if (channels_ > 2)
        Fail("has " + std::to_string(channels_) + " channels; only mono and stereo are supported");
    if (static_cast<size_t>(blockAlign_) != BytesPerFrame())
        Fail("has a damaged format description");
}

size_t TWaveFileReader::ReadFrames(int16_t* samples, size_t maxFrames) {
    const uint64_t left = FramesLeft();
    const size_t count = left < maxFrames ? static_cast<size_t>(left) : maxFrames;
    if (count == 0)
        return 0;
    ReadExactly(samples, count * BytesPerFrame(), "ends before its audio data");
    framesRead_ += count;
    return count;
}

} // namespace olv
