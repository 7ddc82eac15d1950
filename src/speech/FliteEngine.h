#pragma once

#include "speech/SpeechEngine.h"

#include <mutex>

struct cst_voice_struct;

namespace olv {

// CMU Flite with Debian's voices (kal, kal16, slt, rms, awb), each loaded the first time it
// speaks. Flite has no word callbacks: word times come from the Word relation of each
// synthesised utterance. Text is spoken one sentence at a time, so that audio starts early
// and a stop takes effect soon.
class FliteEngine final : public SpeechEngine {
public:
    static constexpr const char* kManufacturer = "CMU Flite";

    static FliteEngine& Instance();

    const std::vector<EngineVoice>& Voices() override;
    void Synthesize(const EngineVoice& voice, std::string_view text, const SynthParams& params,
                    SynthesisSink& sink) override;

private:
    struct Loaded {
        std::string Library;
        cst_voice_struct* Voice = nullptr; // once loaded
        float DurationStretch = 1.0f;
        bool Failed = false;
    };

    FliteEngine() = default;
    void Start();
    Loaded* Find(const std::string& key);
    bool Load(Loaded& loaded, const EngineVoice& voice);
    void SynthesizeSentence(const Loaded& loaded, std::string_view text, size_t start,
                            uint64_t& frames, const SynthParams& params, SynthesisSink& sink);

    std::mutex mutex_;
    bool started_ = false;
    std::vector<EngineVoice> voices_;
    std::vector<Loaded> loaded_;
};

} // namespace olv
