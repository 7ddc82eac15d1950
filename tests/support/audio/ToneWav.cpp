#include "support/audio/ToneWav.h"

#include <cmath>
#include <fstream>
#include <stdexcept>

namespace olv::test {
namespace {

std::string Le(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

} // namespace

std::vector<int16_t> ToneSamples(int sampleRate, int channels, double seconds, double frequency) {
    const auto frames = static_cast<size_t>(std::lround(seconds * sampleRate));
    std::vector<int16_t> samples;
    samples.reserve(frames * static_cast<size_t>(channels));
    const double step = 2.0 * M_PI * frequency / sampleRate;
    for (size_t i = 0; i < frames; ++i) {
        const auto value =
            static_cast<int16_t>(std::lround(16000.0 * std::sin(step * static_cast<double>(i))));
        for (int c = 0; c < channels; ++c)
            samples.push_back(value);
    }
    return samples;
}

std::string Chunk(const std::string& id, const std::string& body) {
    const std::string pad(body.size() % 2, '\0');
    return id + Le(static_cast<uint32_t>(body.size()), 4) + body + pad;
}

std::string PcmFormatBody(int sampleRate, int channels, int bitsPerSample) {
    const auto blockAlign = static_cast<uint32_t>(channels * bitsPerSample / 8);
    return Le(1, 2) + Le(static_cast<uint32_t>(channels), 2) +
           Le(static_cast<uint32_t>(sampleRate), 4) +
           Le(static_cast<uint32_t>(sampleRate) * blockAlign, 4) + Le(blockAlign, 2) +
           Le(static_cast<uint32_t>(bitsPerSample), 2);
}

std::string SampleBytes(const std::vector<int16_t>& samples) {
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "WAV samples are little-endian");
    return std::string(reinterpret_cast<const char*>(samples.data()), samples.size() * 2);
}

std::string RiffWave(const std::string& chunks) {
    return "RIFF" + Le(static_cast<uint32_t>(chunks.size() + 4), 4) + "WAVE" + chunks;
}

std::string WavBytes(int sampleRate, int channels, const std::vector<int16_t>& samples) {
    return RiffWave(Chunk("fmt ", PcmFormatBody(sampleRate, channels)) +
                    Chunk("data", SampleBytes(samples)));
}

void MakeToneWav(const std::string& path, int sampleRate, int channels, double seconds,
                 double frequency) {
    WriteBytes(path, WavBytes(sampleRate, channels,
                              ToneSamples(sampleRate, channels, seconds, frequency)));
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

double ZeroCrossingFrequency(const std::vector<int16_t>& samples, int channels, int sampleRate) {
    // A crossing counts only once the signal has passed a threshold on the other side, and only
    // the span between the first and the last crossing is measured: the silence an encoder adds
    // at either end, with its faint noise, is left out.
    constexpr int kThreshold = 1000;
    const size_t frames = samples.size() / static_cast<size_t>(channels);
    int side = 0;
    size_t crossings = 0;
    size_t first = 0;
    size_t last = 0;
    for (size_t i = 0; i < frames; ++i) {
        const int value = samples[i * static_cast<size_t>(channels)];
        const int now = value > kThreshold ? 1 : value < -kThreshold ? -1 : 0;
        if (now == 0 || now == side)
            continue;
        if (side != 0) {
            if (crossings++ == 0)
                first = i;
            last = i;
        }
        side = now;
    }
    if (crossings < 2)
        return 0.0;
    return (crossings - 1) / 2.0 * sampleRate / static_cast<double>(last - first);
}

} // namespace olv::test
