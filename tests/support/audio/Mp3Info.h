#pragma once

#include <cstdint>
#include <string>

namespace olv::test {

// What the frame headers of an MP3 file say. Written independently of the encoder so that
// tests check its output against the format itself.
struct Mp3Info {
    int Bitrate = 0; // kbps of the first frame
    bool ConstantBitrate = true;
    int SampleRate = 0;
    int ChannelMode = 0; // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    int Channels = 0;    // 1 for mono, else 2
    bool PrivateBit = false;
    bool Crc = false;
    bool Copyright = false;
    bool Original = false;
    bool Consistent = true; // every frame has the version, rate and mode of the first
    int64_t Frames = 0;
    int SamplesPerFrame = 0;
    int64_t LeadingBytes = 0;  // bytes before the first frame (a tag, or damage)
    int64_t UnparsedBytes = 0; // bytes after the last frame

    double Duration() const {
        return SampleRate > 0 ? static_cast<double>(Frames) * SamplesPerFrame / SampleRate : 0.0;
    }
};

// Walks the layer III frames from the first sync to the end of the file. Throws
// std::runtime_error when the file cannot be read or holds no such frame.
Mp3Info ReadMp3Info(const std::string& path);

} // namespace olv::test
