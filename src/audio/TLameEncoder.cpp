#include "audio/TLameEncoder.h"

#include "util/Log.h"

#include <cstdarg>
#include <cstdio>
#include <lame.h>

namespace olv {
namespace {

// lame's worst case for one call, from its documentation.
size_t OutputSizeFor(size_t frames) {
    return frames + frames / 4 + 7200;
}

// lame reports to standard error unless told otherwise; its remarks belong in our log.
void LogLameReport(const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    Log(std::string("lame: ") + text);
}

} // namespace

TLameEncoder::~TLameEncoder() {
    if (lame_)
        lame_close(lame_);
}

int TLameEncoder::InitStream(const TLameConfig& config) {
    if (lame_)
        lame_close(lame_);
    lame_ = lame_init();
    if (!lame_)
        return -1;
    channels_ = config.Channels == 2 ? 2 : 1;
    lame_set_errorf(lame_, LogLameReport);
    lame_set_debugf(lame_, LogLameReport);
    lame_set_msgf(lame_, LogLameReport);
    lame_set_in_samplerate(lame_, config.SampleRate);
    lame_set_num_channels(lame_, channels_);
    lame_set_out_samplerate(lame_, 0);
    lame_set_mode(lame_, channels_ == 2 ? STEREO : MONO);
    lame_set_VBR(lame_, vbr_off);
    lame_set_brate(lame_, config.Bitrate);
    lame_set_VBR_max_bitrate_kbps(lame_, config.Bitrate);
    lame_set_VBR_q(lame_, 4);
    lame_set_quality(lame_, config.Quality);
    lame_set_emphasis(lame_, 0);
    lame_set_extension(lame_, 1);
    lame_set_error_protection(lame_, 0);
    lame_set_copyright(lame_, 0);
    lame_set_original(lame_, 0);
    lame_set_bWriteVbrTag(lame_, 0);
    const int result = lame_init_params(lame_);
    return result < 0 ? result : 0;
}

size_t TLameEncoder::SamplesPerChunk() const {
    return lame_ ? static_cast<size_t>(lame_get_framesize(lame_) * channels_) : 0;
}

int TLameEncoder::EncodeChunk(const int16_t* samples, size_t sampleCount,
                              std::vector<unsigned char>& out) {
    if (!lame_)
        return -3;
    const size_t frames = sampleCount / static_cast<size_t>(channels_);
    out.resize(OutputSizeFor(frames));
    // lame takes non-const buffers but only reads them.
    auto* pcm = const_cast<short*>(reinterpret_cast<const short*>(samples));
    const int frameCount = static_cast<int>(frames);
    const int outSize = static_cast<int>(out.size());
    const int made =
        channels_ == 2 ? lame_encode_buffer_interleaved(lame_, pcm, frameCount, out.data(), outSize)
                       : lame_encode_buffer(lame_, pcm, nullptr, frameCount, out.data(), outSize);
    out.resize(made > 0 ? static_cast<size_t>(made) : 0);
    return made < 0 ? made : 0;
}

int TLameEncoder::DeinitStream(std::vector<unsigned char>& out) {
    if (!lame_)
        return -3;
    out.resize(OutputSizeFor(0));
    const int made = lame_encode_flush(lame_, out.data(), static_cast<int>(out.size()));
    out.resize(made > 0 ? static_cast<size_t>(made) : 0);
    return made < 0 ? made : 0;
}

} // namespace olv
