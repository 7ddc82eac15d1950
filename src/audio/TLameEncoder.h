#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct lame_global_struct;

namespace olv {

// What the encoder is told about the audio and the MP3 wanted.
struct TLameConfig {
    int SampleRate = 22050; // rate of the PCM handed to the encoder
    int Channels = 1;       // 1 encodes mono, 2 stereo; the PCM has this many channels
    int Bitrate = 32;       // kilobits per second, constant
    int Quality = 3;        // lame's algorithm quality; 3 is what the lame command uses
};

// libmp3lame behind the four steps of a stream encoder: InitStream, EncodeChunk, DeinitStream
// and closing (the destructor). Each step returns 0 or lame's negative error code.
class TLameEncoder {
public:
    TLameEncoder() = default;
    TLameEncoder(const TLameEncoder&) = delete;
    TLameEncoder& operator=(const TLameEncoder&) = delete;
    ~TLameEncoder();

    // Constant bit rate, no CRC, copyright or original bit, private bit set, no VBR header;
    // the encoder chooses the MP3's sample rate for the bit rate.
    int InitStream(const TLameConfig& config);
    // 16-bit samples per MP3 frame over all channels: the natural chunk size.
    size_t SamplesPerChunk() const;
    // Encodes sampleCount interleaved samples; out receives the MP3 bytes ready so far.
    int EncodeChunk(const int16_t* samples, size_t sampleCount, std::vector<unsigned char>& out);
    // Ends the stream; out receives the last MP3 bytes.
    int DeinitStream(std::vector<unsigned char>& out);

private:
    lame_global_struct* lame_ = nullptr;
    int channels_ = 1;
};

} // namespace olv
