#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

class TAudioFileClass;
class TWaveFileReader;

// Conversion progress: bytes of audio done so far and in all.
using TProgressEvent =
    std::function<void(TAudioFileClass& sender, int64_t bytesDone, int64_t bytesTotal)>;

// What GetSampleRates chooses for an input file.
struct TSampleRates {
    int ConvertRate = 0; // the rate the input is converted to
    int EncodeRate = 0;  // the rate announced to the encoder
};

// The quality model of the audio file writer: the offered qualities ("32 kbps  22.05 KHz  Mono"),
// the bit rate, sample rate and channels of the chosen one, and the preparation of an engine's
// WAV file (rate and channels) before it is encoded by a subclass.
class TAudioFileClass {
public:
    // hasNaturalVoices adds the 16, 32 and 48 kHz qualities. Starts at the default quality.
    explicit TAudioFileClass(bool hasNaturalVoices);
    TAudioFileClass(const TAudioFileClass&) = delete;
    TAudioFileClass& operator=(const TAudioFileClass&) = delete;
    virtual ~TAudioFileClass() = default;

    // Throws EAudioFileError ("Quality string \"<text> is invalid") for a string that is not
    // offered, changing nothing; letter case does not matter.
    virtual void SetQuality(const std::string& quality);
    virtual std::string Quality() const { return qualityText_; }
    // The rate to convert an input file of inputRate to, and the rate to announce to the encoder.
    virtual TSampleRates GetSampleRates(int inputRate);
    // Appends the offered quality strings in the order they are offered.
    virtual void FillQualities(std::vector<std::string>& list) const;
    // Encodes the WAV file into targetFile. True when the file was written completely.
    virtual bool ConvertFormat(const std::string& wavFile, const std::string& targetFile) = 0;
    virtual std::string DefaultQuality() const;
    virtual bool IsValidQuality(std::string_view quality) const;

    // Brings source to the rate and channels the quality needs, into target (16-bit PCM), and
    // returns true; returns false when source can be encoded as it is, and also when it cannot
    // be converted (logged; source is untouched, so the encoder reports what is wrong with it).
    bool ConvertWaveFile(const std::string& source, const std::string& target);
    // Asks a running conversion to stop at its next chunk.
    void Abort() { abortRequested_ = true; }
    // The sample rate in the file's format chunk; throws EAudioFileError.
    static int SampleRateOf(const std::string& wavFile);

    bool HasNaturalVoices() const { return hasNaturalVoices_; }
    const std::string& QualityText() const { return qualityText_; }
    bool AbortRequested() const { return abortRequested_; }
    int Bitrate() const { return bitrate_; }
    int SampleRate() const { return sampleRate_; }
    int EncodeRate() const { return encodeRate_; }
    // "Mono" or "Stereo".
    const std::string& Channels() const { return channels_; }
    int ChannelCount() const { return channels_ == "Stereo" ? 2 : 1; }

    TProgressEvent OnProgress;

protected:
    bool hasNaturalVoices_;
    std::string qualityText_;
    std::atomic<bool> abortRequested_{false};
    int bitrate_ = 0;
    int sampleRate_ = 0;
    int encodeRate_ = 0;
    std::string channels_;

private:
    void ConvertSamples(TWaveFileReader& reader, const std::string& target, int rate);
};

} // namespace olv
