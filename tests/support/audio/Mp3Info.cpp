#include "support/audio/Mp3Info.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace olv::test {
namespace {

struct FrameHeader {
    int Version = 0;
    int Bitrate = 0;
    int SampleRate = 0;
    int ChannelMode = 0;
    bool Padding = false;
    bool PrivateBit = false;
    bool Crc = false;
    bool Copyright = false;
    bool Original = false;

    int SamplesPerFrame() const { return Version == 10 ? 1152 : 576; }
    size_t Length() const {
        return static_cast<size_t>(SamplesPerFrame() / 8 * Bitrate * 1000 / SampleRate +
                                   (Padding ? 1 : 0));
    }
    bool SameStream(const FrameHeader& other) const {
        return Version == other.Version && SampleRate == other.SampleRate &&
               ChannelMode == other.ChannelMode;
    }
};

constexpr int kBitrates[2][15] = {
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}, // MPEG-1
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},     // MPEG-2 and 2.5
};

constexpr int kSampleRates[3][3] = {
    {44100, 48000, 32000}, // MPEG-1
    {22050, 24000, 16000}, // MPEG-2
    {11025, 12000, 8000},  // MPEG-2.5
};

// Decodes the four header bytes at p; false when they are not the header of a layer III frame.
bool ParseHeader(const unsigned char* p, FrameHeader& header) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits != 1 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3)
        return false;
    const int version = versionBits == 3 ? 0 : versionBits == 2 ? 1 : 2;
    header.Version = version == 0 ? 10 : version == 1 ? 20 : 25;
    header.Bitrate = kBitrates[version == 0 ? 0 : 1][bitrateIndex];
    header.SampleRate = kSampleRates[version][rateIndex];
    header.Crc = (p[1] & 1) == 0;
    header.Padding = (p[2] >> 1) & 1;
    header.PrivateBit = p[2] & 1;
    header.ChannelMode = p[3] >> 6;
    header.Copyright = (p[3] >> 3) & 1;
    header.Original = (p[3] >> 2) & 1;
    return true;
}

} // namespace

Mp3Info ReadMp3Info(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    FrameHeader first;
    size_t at = 0;
    while (at + 4 <= data.size() && !ParseHeader(&data[at], first))
        ++at;
    if (at + 4 > data.size())
        throw std::runtime_error("no MPEG audio layer III frame in " + path);

    Mp3Info info;
    info.Version = first.Version;
    info.Bitrate = first.Bitrate;
    info.SampleRate = first.SampleRate;
    info.ChannelMode = first.ChannelMode;
    info.Channels = first.ChannelMode == 3 ? 1 : 2;
    info.PrivateBit = first.PrivateBit;
    info.Crc = first.Crc;
    info.Copyright = first.Copyright;
    info.Original = first.Original;
    info.SamplesPerFrame = first.SamplesPerFrame();
    info.LeadingBytes = static_cast<int64_t>(at);

    FrameHeader header;
    while (at + 4 <= data.size() && ParseHeader(&data[at], header) &&
           at + header.Length() <= data.size()) {
        info.Consistent = info.Consistent && header.SameStream(first);
        info.ConstantBitrate = info.ConstantBitrate && header.Bitrate == first.Bitrate;
        ++info.Frames;
        at += header.Length();
    }
    info.UnparsedBytes = static_cast<int64_t>(data.size() - at);
    return info;
}

} // namespace olv::test
