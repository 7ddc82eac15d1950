#include "speech/support/SpeechTestSupport.h"

#include "audio/TWaveFileReader.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace olv::test {
namespace {
const std::thread::id kMainThread = std::this_thread::get_id();
} // namespace

int Pcm::Peak() const {
    int peak = 0;
    for (int16_t sample : Samples)
        peak = std::max(peak, std::abs(int(sample)));
    return peak;
}

double Pcm::Rms() const {
    if (Samples.empty())
        return 0;
    double sum = 0;
    for (int16_t sample : Samples)
        sum += double(sample) * sample;
    return std::sqrt(sum / Samples.size());
}

double Pcm::MedianPitch() const {
    const size_t frame = size_t(SampleRate) / 25;
    const size_t minLag = size_t(SampleRate) / 400, maxLag = size_t(SampleRate) / 60;
    std::vector<double> pitches;
    for (size_t start = 0; start + frame + maxLag < Samples.size(); start += frame) {
        double energy = 0;
        for (size_t i = 0; i < frame; ++i)
            energy += double(Samples[start + i]) * Samples[start + i];
        if (energy / frame < 1e6)
            continue; // quiet: not voiced
        size_t bestLag = 0;
        double best = 0;
        for (size_t lag = minLag; lag <= maxLag; ++lag) {
            double sum = 0;
            for (size_t i = 0; i < frame; ++i)
                sum += double(Samples[start + i]) * Samples[start + i + lag];
            if (sum > best) {
                best = sum;
                bestLag = lag;
            }
        }
        if (bestLag && best > 0.3 * energy)
            pitches.push_back(double(SampleRate) / bestLag);
    }
    if (pitches.empty())
        return 0;
    std::sort(pitches.begin(), pitches.end());
    return pitches[pitches.size() / 2];
}

double Pcm::LongestSilence(int quiet) const {
    size_t longest = 0, run = 0;
    for (int16_t sample : Samples) {
        run = std::abs(int(sample)) <= quiet ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return SampleRate ? double(longest) / SampleRate : 0;
}

Pcm ReadPcm(const std::string& path) {
    TWaveFileReader reader = TWaveFileReader::Open(path);
    Pcm pcm;
    pcm.SampleRate = reader.SampleRate();
    std::vector<int16_t> frames(reader.Frames() * reader.Channels());
    size_t read = reader.ReadFrames(frames.data(), reader.Frames());
    for (size_t i = 0; i < read; ++i)
        pcm.Samples.push_back(frames[i * reader.Channels()]);
    return pcm;
}

void SpeechLog::Attach(TTTS& tts) {
    auto add = [this](const char* event, uint64_t time, uint32_t value) {
        Entries.push_back(Entry{event, time, value, std::chrono::steady_clock::now(),
                                std::this_thread::get_id() == kMainThread});
    };
    tts.OnTextDataStarted = [add](TTTS&, uint64_t time) { add("TextStarted", time, 0); };
    tts.OnTextDataDone = [add](TTTS&, uint64_t time, uint32_t) { add("TextDone", time, 0); };
    tts.OnWordPosition = [add](TTTS&, uint64_t time, uint32_t offset) {
        add("Word", time, offset);
    };
    tts.OnAudioStart = [add](TTTS&, uint64_t time) { add("AudioStart", time, 0); };
    tts.OnAudioStop = [add](TTTS&, uint64_t time) { add("AudioStop", time, 0); };
    tts.OnAttribChanged = [add](TTTS&, TTTSAttribute which) {
        add("AttribChanged", 0, static_cast<uint32_t>(which));
    };
}

size_t SpeechLog::Count(std::string_view event) const {
    size_t count = 0;
    for (const Entry& entry : Entries)
        count += entry.Event == event;
    return count;
}

std::vector<size_t> SpeechLog::WordPositions() const {
    std::vector<size_t> positions;
    for (const Entry& entry : Entries)
        if (entry.Event == "Word")
            positions.push_back(entry.Value / 2);
    return positions;
}

std::vector<std::string> SpeechLog::Sequence() const {
    std::vector<std::string> names;
    for (const Entry& entry : Entries)
        if (entry.Event != "Word")
            names.push_back(entry.Event);
    return names;
}

long SpeechLog::IndexOf(std::string_view event) const {
    for (size_t i = 0; i < Entries.size(); ++i)
        if (Entries[i].Event == event)
            return long(i);
    return -1;
}

std::vector<size_t> WordStarts(std::string_view text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) > ' ' &&
            (i == 0 || static_cast<unsigned char>(text[i - 1]) <= ' '))
            starts.push_back(i);
    return starts;
}

bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& pump,
               std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::string EspeakUsMode() {
    return "eSpeak NG English (America)";
}

std::string FliteMode(std::string_view key) {
    return "CMU Flite " + std::string(key);
}

TTSModeInfo ModeRecord(std::string mfg, std::string product, int32_t languageId,
                       std::string modeName, std::string speaker) {
    TTSModeInfo mode;
    mode.MfgName = std::move(mfg);
    mode.ProductName = std::move(product);
    mode.LanguageID = languageId;
    mode.ModeName = std::move(modeName);
    mode.Speaker = std::move(speaker);
    mode.EngineID = TGUID::FromName(mode.MfgName + mode.ProductName);
    mode.ModeID = TGUID::FromName(mode.MfgName + mode.ModeName);
    return mode;
}

} // namespace olv::test
