#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace olv::test {

// WAV files for the tests, built byte by byte here so that they do not depend on the writer
// under test. Samples are interleaved 16-bit PCM.

// A sine tone at about half volume, the same in every channel.
std::vector<int16_t> ToneSamples(int sampleRate, int channels, double seconds,
                                 double frequency = 440.0);

// Pieces of a RIFF WAVE file: a chunk (id, size, body, pad byte), a PCM format body, sample
// bytes, and the RIFF header around chunks.
std::string Chunk(const std::string& id, const std::string& body);
std::string PcmFormatBody(int sampleRate, int channels, int bitsPerSample = 16);
std::string SampleBytes(const std::vector<int16_t>& samples);
std::string RiffWave(const std::string& chunks);

// The canonical 44-byte-header file of the samples.
std::string WavBytes(int sampleRate, int channels, const std::vector<int16_t>& samples);

// Writes a tone WAV file (canonical header).
void MakeToneWav(const std::string& path, int sampleRate, int channels, double seconds,
                 double frequency = 440.0);

void WriteBytes(const std::string& path, const std::string& bytes);

// The frequency of a tone in channel 0, from its zero crossings (0 when there is no tone).
double ZeroCrossingFrequency(const std::vector<int16_t>& samples, int channels, int sampleRate);

} // namespace olv::test
