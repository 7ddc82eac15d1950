#pragma once

#include "speech/SpeechEngine.h"

#include <mutex>

namespace olv {

struct EspeakLibrary;

// eSpeak NG through its library, in synchronous mode on the calling thread. The library is
// one global state, so there is one engine per process and its calls are serialised.
class EspeakEngine final : public SpeechEngine {
public:
    static constexpr const char* kManufacturer = "eSpeak NG";

    static EspeakEngine& Instance();

    // Every installed voice; empty when the library cannot start (no voice data).
    const std::vector<EngineVoice>& Voices() override;
    void Synthesize(const EngineVoice& voice, std::string_view text, const SynthParams& params,
                    SynthesisSink& sink) override;

private:
    EspeakEngine() = default;
    bool Start();
    void ListVoices();
    void SelectVoice(const EngineVoice& voice);

    std::mutex mutex_;
    const EspeakLibrary* api_ = nullptr;
    bool started_ = false;
    bool startFailed_ = false;
    int sampleRate_ = 0;
    std::vector<EngineVoice> voices_;
};

} // namespace olv
