#include "speech/support/SpeechTestSupport.h"

#include "audio/TWaveFileReader.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace olv::test {
int Pcm::Peak() const {
    int peak = 0;
    for (int16_t sample : Samples)
        peak = std::max(peak, std::abs(int(sample)));
    return peak;
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
    auto add = [this](const char* event, int64_t value = -1) {
        Entries.push_back(value < 0 ? event : event + (":" + std::to_string(value)));
    };
    tts.OnTextDataStarted = [add](TTTS&, uint64_t) { add("TextStarted"); };
    tts.OnTextDataDone = [add](TTTS&, uint64_t, uint32_t) { add("TextDone"); };
    tts.OnWordPosition = [add](TTTS&, uint64_t, uint32_t offset) { add("Word", offset); };
    tts.OnAudioStart = [add](TTTS&, uint64_t) { add("AudioStart"); };
    tts.OnAudioStop = [add](TTTS&, uint64_t) { add("AudioStop"); };
    tts.OnAttribChanged = [add](TTTS&, TTTSAttribute which) { add("AttribChanged", int(which)); };
}

size_t SpeechLog::Count(std::string_view event) const {
    return size_t(std::count_if(Entries.begin(), Entries.end(), [&](const std::string& entry) {
        return entry.substr(0, entry.find(':')) == event;
    }));
}

std::vector<size_t> SpeechLog::WordPositions() const {
    std::vector<size_t> positions;
    for (const std::string& entry : Entries)
        if (entry.rfind("Word:", 0) == 0)
            positions.push_back(std::stoul(entry.substr(5)) / 2);
    return positions;
}

std::vector<std::string> SpeechLog::Sequence() const {
    std::vector<std::string> names;
    for (const std::string& entry : Entries)
        if (entry.rfind("Word:", 0) != 0)
            names.push_back(entry);
    return names;
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
