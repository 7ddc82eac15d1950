#include "support/audio/Mp3Info.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace olv::test {
namespace {

constexpr int kBitrates[2][15] = {
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}, // MPEG-1
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},     // MPEG-2 and 2.5
};

constexpr int kSampleRates[3][3] = {
    {44100, 48000, 32000}, // MPEG-1
    {22050, 24000, 16000}, // MPEG-2
    {11025, 12000, 8000},  // MPEG-2.5
};

// Decodes the four header bytes at p into the frame fields of frame and padding (a frame's
// length depends on it); false, with nothing changed, when they are not the header of a layer
// III frame.
bool ParseHeader(const unsigned char* p, Mp3Info& frame, bool& padding) {
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
    frame.Bitrate = kBitrates[version == 0 ? 0 : 1][bitrateIndex];
    frame.SampleRate = kSampleRates[version][rateIndex];
    frame.SamplesPerFrame = version == 0 ? 1152 : 576;
    frame.Crc = (p[1] & 1) == 0;
    padding = (p[2] >> 1) & 1;
    frame.PrivateBit = p[2] & 1;
    frame.ChannelMode = p[3] >> 6;
    frame.Channels = frame.ChannelMode == 3 ? 1 : 2;
    frame.Copyright = (p[3] >> 3) & 1;
    frame.Original = (p[3] >> 2) & 1;
    return true;
}

size_t FrameLength(const Mp3Info& frame, bool padding) {
    return static_cast<size_t>(frame.SamplesPerFrame / 8 * frame.Bitrate * 1000 / frame.SampleRate +
                               (padding ? 1 : 0));
}

} // namespace

Mp3Info ReadMp3Info(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    Mp3Info info; // the first frame's fields
    bool padding = false;
    size_t at = 0;
    while (at + 4 <= data.size() && !ParseHeader(&data[at], info, padding))
        ++at;
    if (at + 4 > data.size())
        throw std::runtime_error("no MPEG audio layer III frame in " + path);
    info.LeadingBytes = static_cast<int64_t>(at);

    Mp3Info frame;
    while (at + 4 <= data.size() && ParseHeader(&data[at], frame, padding) &&
           at + FrameLength(frame, padding) <= data.size()) {
        // No two versions share a sample rate.
        info.Consistent = info.Consistent && frame.SampleRate == info.SampleRate &&
                          frame.ChannelMode == info.ChannelMode;
        info.ConstantBitrate = info.ConstantBitrate && frame.Bitrate == info.Bitrate;
        ++info.Frames;
        at += FrameLength(frame, padding);
    }
    info.UnparsedBytes = static_cast<int64_t>(data.size() - at);
    return info;
}

} // namespace olv::test
