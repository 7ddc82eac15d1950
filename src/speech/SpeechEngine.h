#pragma once

#include "speech/TTSModeInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

// Settings of one synthesis, in the units the speech component offers (see TTTS): pitch
// 1..100 (50 normal), speed in words per minute 80..450 (175 normal), volume 0..65535 (full).
struct SynthParams {
    int Pitch = 50;
    int Speed = 175;
    int Volume = 65535;
    // More text follows this piece: end it with the pause a sentence end would have.
    bool EndPause = false;
};

// One voice of an engine: one mode of the speech component.
struct EngineVoice {
    TTSModeInfo Info;
    std::string Key;            // the engine's own name for the voice
    std::string LanguageTag;    // "en-us"
    int LanguagePriority = 100; // how well it speaks its bare language (lower is better)
    int SampleRate = 0;
};

// Where an engine delivers what it synthesises.
class SynthesisSink {
public:
    virtual ~SynthesisSink() = default;
    // Mono 16-bit samples, in order.
    virtual void Audio(const int16_t* samples, size_t frames) = 0;
    // The engine reached the text at position (0-based, in the text given to Synthesize)
    // at frame, counted from the first frame of that call.
    virtual void Word(uint64_t frame, size_t position) = 0;
    // True when the synthesis is to stop as soon as it can.
    virtual bool Cancelled() const = 0;
    // Called between steps, where the engine holds none of its locks: may wait while the
    // listener is far behind.
    virtual void WaitForRoom() = 0;
};

// A speech engine behind the speech component. Safe to use from any thread; an engine
// serialises its own synthesis (the libraries keep global state).
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    virtual const std::vector<EngineVoice>& Voices() = 0;
    // Speaks Latin-1 text with voice into sink; returns when done or cancelled.
    // Throws ESpeechError when the engine fails.
    virtual void Synthesize(const EngineVoice& voice, std::string_view text,
                            const SynthParams& params, SynthesisSink& sink) = 0;
};

} // namespace olv
