#include "speech/TTSModes.h"

#include "speech/EspeakEngine.h"
#include "speech/FliteEngine.h"
#include "speech/LanguageMap.h"

#include <algorithm>

namespace olv {
namespace {

struct Ranked {
    TTSModes::Mode Mode;
    int Rank = 0;
    int Priority = 0;
    size_t EngineOrder = 0;
};

// 0: the user's language and region; 1: the user's language (best-suited voices first);
// 2: any other language.
void RankFor(Ranked& ranked, const std::string& language, const std::string& region) {
    const EngineVoice& voice = *ranked.Mode.Voice;
    if (LanguageMap::LanguageOf(voice.LanguageTag) != language) {
        ranked.Rank = 2;
    } else if (!region.empty() && LanguageMap::RegionOf(voice.LanguageTag) == region) {
        ranked.Rank = 0;
    } else {
        ranked.Rank = 1;
        ranked.Priority = voice.LanguagePriority;
    }
}

} // namespace

std::vector<TTSModes::Mode> TTSModes::All() {
    std::string user = LanguageMap::UserLanguageTag();
    std::string language = LanguageMap::LanguageOf(user);
    std::string region = LanguageMap::RegionOf(user);
    std::vector<Ranked> ranked;
    SpeechEngine* engines[] = {&EspeakEngine::Instance(), &FliteEngine::Instance()};
    for (size_t e = 0; e < std::size(engines); ++e) {
        for (const EngineVoice& voice : engines[e]->Voices()) {
            Ranked entry{Mode{engines[e], &voice}, 0, 0, e};
            RankFor(entry, language, region);
            ranked.push_back(entry);
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        if (a.Rank != b.Rank)
            return a.Rank < b.Rank;
        if (a.Priority != b.Priority)
            return a.Priority < b.Priority;
        return a.EngineOrder < b.EngineOrder;
    });
    std::vector<Mode> modes;
    for (const Ranked& entry : ranked)
        modes.push_back(entry.Mode);
    return modes;
}

std::optional<TTSModes::Mode> TTSModes::FindByName(std::string_view modeName) {
    for (const Mode& mode : All())
        if (mode.Voice->Info.ModeName == modeName)
            return mode;
    return std::nullopt;
}

std::optional<TTSModes::Mode> TTSModes::FindByID(const TGUID& modeId) {
    SpeechEngine* engines[] = {&EspeakEngine::Instance(), &FliteEngine::Instance()};
    for (SpeechEngine* engine : engines)
        for (const EngineVoice& voice : engine->Voices())
            if (voice.Info.ModeID == modeId)
                return Mode{engine, &voice};
    return std::nullopt;
}

} // namespace olv
