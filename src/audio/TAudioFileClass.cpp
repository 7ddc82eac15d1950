#include "audio/TAudioFileClass.h"

#include "audio/EAudioFileError.h"
#include "audio/TPcmConverter.h"
#include "audio/TWaveFileReader.h"
#include "audio/TWaveFileWriter.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <algorithm>
#include <cstdlib>

namespace olv {
namespace {

struct QualityRow {
    const char* Text;
    bool NaturalVoicesOnly;
};

// The strings are shown to the user and stored in the settings: keep them exactly.
constexpr QualityRow kQualities[] = {
    {"16 kbps  11.02 KHz  Mono", false},   {"24 kbps  16.00 KHz  Mono", true},
    {"32 kbps  22.05 KHz  Mono", false},   {"40 kbps  22.05 KHz  Mono", false},
    {"40 kbps  32.00 KHz  Mono", true},    {"48 kbps  22.05 KHz  Mono", false},
    {"48 kbps  32.00 KHz  Mono", true},    {"56 kbps  44.1 KHz   Mono", false},
    {"64 kbps  44.1 KHz   Mono", false},   {"64 kbps  48.00 KHz  Mono", true},
    {"64 kbps  22.05 KHz  Stereo", false}, {"80 kbps  22.05 KHz  Stereo", false},
    {"80 kbps  32.00 KHz  Stereo", true},  {"96 kbps  22.05 KHz  Stereo", false},
    {"96 kbps  32.00 KHz  Stereo", true},  {"112 kbps  44.1 KHz  Stereo", false},
    {"128 kbps  44.1 KHz  Stereo", false},
};

constexpr const char* kDefaultQuality = "32 kbps  22.05 KHz  Mono";
constexpr size_t kChunkFrames = 8192;

std::vector<std::string_view> BlankSeparatedTokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    size_t at = 0;
    while (at < text.size()) {
        const size_t start = text.find_first_not_of(' ', at);
        if (start == std::string_view::npos)
            break;
        const size_t end = std::min(text.find(' ', start), text.size());
        tokens.push_back(text.substr(start, end - start));
        at = end;
    }
    return tokens;
}

// "22.05" kilohertz to 22050 Hz. The texts round the rates of the 11.025 kHz family, so a
// result within a few hertz of a standard rate is that rate ("11.02" is 11025). Parsed by
// hand: the C library would read the decimal point by the user's locale.
int KiloHertzToRate(std::string_view text) {
    const size_t point = text.find('.');
    int rate = Number(text.substr(0, point)) * 1000;
    if (point != std::string_view::npos) {
        int scale = 100;
        for (char digit : text.substr(point + 1)) {
            if (digit < '0' || digit > '9')
                return Number(text); // throws the usual conversion error
            rate += (digit - '0') * scale;
            scale /= 10;
        }
    }
    for (int standard : {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000})
        if (std::abs(rate - standard) <= 10)
            return standard;
    return rate;
}

} // namespace

TAudioFileClass::TAudioFileClass(bool hasNaturalVoices) : hasNaturalVoices_(hasNaturalVoices) {
    SetQuality(kDefaultQuality);
}

void TAudioFileClass::SetQuality(const std::string& quality) {
    if (!IsValidQuality(quality))
        throw EAudioFileError("Quality string \"" + quality + " is invalid");
    const auto tokens = BlankSeparatedTokens(quality);
    qualityText_ = quality;
    bitrate_ = Number(tokens.at(0));
    sampleRate_ = KiloHertzToRate(tokens.at(2));
    // Accepted in any letter case, but the rest of the writer compares the canonical names.
    channels_ = SameText(tokens.at(4), "Stereo") ? "Stereo" : "Mono";
    encodeRate_ = sampleRate_;
}

TSampleRates TAudioFileClass::GetSampleRates(int /*inputRate*/) {
    return {sampleRate_, sampleRate_};
}

void TAudioFileClass::FillQualities(std::vector<std::string>& list) const {
    for (const QualityRow& row : kQualities)
        if (hasNaturalVoices_ || !row.NaturalVoicesOnly)
            list.emplace_back(row.Text);
}

std::string TAudioFileClass::DefaultQuality() const {
    return kDefaultQuality;
}

bool TAudioFileClass::IsValidQuality(std::string_view quality) const {
    std::vector<std::string> offered;
    FillQualities(offered);
    for (const std::string& text : offered)
        if (SameText(text, quality))
            return true;
    return false;
}

int TAudioFileClass::SampleRateOf(const std::string& wavFile) {
    TWaveFileReader reader(wavFile);
    reader.ReadHeader();
    return reader.SampleRate();
}

bool TAudioFileClass::ConvertWaveFile(const std::string& source, const std::string& target) {
    Log("Entered ConvertWaveFile");
    try {
        TWaveFileReader reader = TWaveFileReader::Open(source);
        const TSampleRates rates = GetSampleRates(reader.SampleRate());
        encodeRate_ = rates.EncodeRate;
        // Engines write mono; a stereo source is never handed to a mono encoder as it is.
        if (reader.SampleRate() == rates.ConvertRate && ChannelCount() == 1 &&
            reader.Channels() == 1)
            return false;
        Log("Infile: " + source);
        Log("OutFile: " + target);
        ConvertSamples(reader, target, rates.ConvertRate);
        return true;
    } catch (const std::exception& error) {
        Log("Exception in ConvertWaveFile");
        Log(error.what());
        return false;
    }
}

void TAudioFileClass::ConvertSamples(TWaveFileReader& reader, const std::string& target, int rate) {
    TPcmConverter converter(reader.SampleRate(), reader.Channels(), rate, ChannelCount());
    TWaveFileWriter writer(target, rate, ChannelCount());
    std::vector<int16_t> samples(kChunkFrames * reader.BytesPerFrame() / 2);
    while (const size_t frames = reader.ReadFrames(samples.data(), kChunkFrames)) {
        const TPcmBlock block = converter.Convert(samples.data(), frames);
        writer.WriteFrames(block.Samples, block.Frames);
    }
    const TPcmBlock rest = converter.Flush();
    writer.WriteFrames(rest.Samples, rest.Frames);
    writer.Finish();
}

} // namespace olv
