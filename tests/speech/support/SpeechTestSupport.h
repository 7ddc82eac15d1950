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
    double Rms() const;
    // The median fundamental frequency of the voiced stretches, by autocorrelation (Hz).
    double MedianPitch() const;
    // The longest stretch, in seconds, in which no sample is louder than quiet.
    double LongestSilence(int quiet = 100) const;
};

Pcm ReadPcm(const std::string& path);

// Everything a speech component raised, in order, with the thread each event ran on.
struct SpeechLog {
    struct Entry {
        std::string Event; // "TextStarted", "Word", "AudioStart", ...
        uint64_t Time = 0;
        uint32_t Value = 0; // the byte offset of a word, the attribute of a change
        std::chrono::steady_clock::time_point At;
        bool OnMainThread = true;
    };
    std::vector<Entry> Entries;

    // Binds every event of tts to this log.
    void Attach(TTTS& tts);
    size_t Count(std::string_view event) const;
    bool Has(std::string_view event) const { return Count(event) > 0; }
    // The character positions (byte offsets halved) of the words reported.
    std::vector<size_t> WordPositions() const;
    // The names of the events in order, words left out.
    std::vector<std::string> Sequence() const;
    // Index of the first entry of that event, or -1.
    long IndexOf(std::string_view event) const;
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
