#pragma once

#include "speech/TTTS.h"

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace olv::test {

// Mono 16-bit audio read back from a WAV file.
struct Pcm {
    int SampleRate = 0;
    std::vector<int16_t> Samples;

    double Seconds() const { return SampleRate ? double(Samples.size()) / SampleRate : 0; }
    int Peak() const;
};

Pcm ReadPcm(const std::string& path);

// Everything a speech component raised, in order, as "Event" or "Event:value" (the byte
// offset of a word, the attribute of a change).
struct SpeechLog {
    std::vector<std::string> Entries;

    // Binds every event of tts to this log.
    void Attach(TTTS& tts);
    size_t Count(std::string_view event) const;
    // The character positions (byte offsets halved) of the words reported.
    std::vector<size_t> WordPositions() const;
    // The entries without the words.
    std::vector<std::string> Sequence() const;
};

// The 0-based starts of the words (runs of non-blanks) of text.
std::vector<size_t> WordStarts(std::string_view text);

// Polls until done() or the timeout, calling pump() between looks.
bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& pump,
               std::chrono::milliseconds timeout = std::chrono::seconds(60));

// The mode name of the eSpeak NG US English voice and of a Flite voice.
std::string EspeakUsMode();
std::string FliteMode(std::string_view key);

// A mode record as an engine reports it, for the engines that cannot run here. Its engine
// is named by manufacturer and product, the mode by manufacturer and mode name.
TTSModeInfo ModeRecord(std::string mfg, std::string product, int32_t languageId,
                       std::string modeName = "", std::string speaker = "");

// The message of the exception of type Error that call raised, or "(no error)".
template <typename Error = std::exception> std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

} // namespace olv::test
