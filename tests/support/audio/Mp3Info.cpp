#include "support/audio/Mp3Info.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace olv::test {
namespace {

struct FrameHeader {
    int Version = 0;
    int Layer = 0;
    int Bitrate = 0;
    int SampleRate = 0;
    int ChannelMode = 0;
    bool Padding = false;
    bool PrivateBit = false;
    bool Crc = false;
    bool Copyright = false;
    bool Original = false;

    int SamplesPerFrame() const {
        if (Layer == 1)
            return 384;
        return (Layer == 3 && Version != 10) ? 576 : 1152;
    }
    size_t Length() const {
        const int pad = Padding ? 1 : 0;
        if (Layer == 1)
            return static_cast<size_t>((12 * Bitrate * 1000 / SampleRate + pad) * 4);
        return static_cast<size_t>(SamplesPerFrame() / 8 * Bitrate * 1000 / SampleRate + pad);
    }
    bool SameStream(const FrameHeader& other) const {
        return Version == other.Version && Layer == other.Layer && SampleRate == other.SampleRate &&
               ChannelMode == other.ChannelMode;
    }
};

constexpr int kBitrates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // MPEG-1 layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // MPEG-1 layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // MPEG-1 layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},    // MPEG-2/2.5 layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},         // MPEG-2/2.5 II, III
};

constexpr int kSampleRates[3][3] = {
    {44100, 48000, 32000}, // MPEG-1
    {22050, 24000, 16000}, // MPEG-2
    {11025, 12000, 8000},  // MPEG-2.5
};

// Decodes the four header bytes at p; false when they are not a valid frame header.
bool ParseHeader(const unsigned char* p, FrameHeader& header) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3)
        return false;
    header.Version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
    header.Layer = 4 - layerBits;
    const int table = header.Version == 10 ? header.Layer - 1 : (header.Layer == 1 ? 3 : 4);
    header.Bitrate = kBitrates[table][bitrateIndex];
    header.SampleRate = kSampleRates[header.Version == 10   ? 0
                                     : header.Version == 20 ? 1
                                                            : 2][rateIndex];
    header.Crc = (p[1] & 1) == 0;
    header.Padding = (p[2] >> 1) & 1;
    header.PrivateBit = p[2] & 1;
    header.ChannelMode = p[3] >> 6;
    header.Copyright = (p[3] >> 3) & 1;
    header.Original = (p[3] >> 2) & 1;
    return true;
}

size_t SkipId3v2(const std::vector<unsigned char>& data) {
    if (data.size() < 10 || data[0] != 'I' || data[1] != 'D' || data[2] != '3')
        return 0;
    const size_t size = (static_cast<size_t>(data[6] & 0x7F) << 21) | ((data[7] & 0x7F) << 14) |
                        ((data[8] & 0x7F) << 7) | (data[9] & 0x7F);
    const bool footer = (data[5] & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

size_t FindFirstFrame(const std::vector<unsigned char>& data, size_t from, FrameHeader& header) {
    for (size_t at = from; at + 4 <= data.size(); ++at)
        if (ParseHeader(&data[at], header))
            return at;
    throw std::runtime_error("no MPEG audio frame found");
}

} // namespace

Mp3Info ReadMp3Info(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    FrameHeader first;
    size_t at = FindFirstFrame(data, SkipId3v2(data), first);

    Mp3Info info;
    info.Version = first.Version;
    info.Layer = first.Layer;
    info.Bitrate = first.Bitrate;
    info.SampleRate = first.SampleRate;
    info.ChannelMode = first.ChannelMode;
    info.Channels = first.ChannelMode == 3 ? 1 : 2;
    info.PrivateBit = first.PrivateBit;
    info.Crc = first.Crc;
    info.Copyright = first.Copyright;
    info.Original = first.Original;
    info.SamplesPerFrame = first.SamplesPerFrame();

    FrameHeader header;
    while (at + 4 <= data.size() && ParseHeader(&data[at], header) &&
           at + header.Length() <= data.size()) {
        info.Consistent = info.Consistent && header.SameStream(first);
        info.ConstantBitrate = info.ConstantBitrate && header.Bitrate == first.Bitrate;
        ++info.Frames;
        at += header.Length();
    }
    const bool id3v1 =
        data.size() - at == 128 && data[at] == 'T' && data[at + 1] == 'A' && data[at + 2] == 'G';
    info.UnparsedBytes = id3v1 ? 0 : static_cast<int64_t>(data.size() - at);
    return info;
}

} // namespace olv::test
