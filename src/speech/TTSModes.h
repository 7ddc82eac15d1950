#pragma once

#include "speech/SpeechEngine.h"
#include "speech/TGUID.h"

#include <optional>
#include <string_view>
#include <vector>

namespace olv {

// Every mode of every engine: each eSpeak NG voice and each Flite voice. The modes of the
// user's language come first (the language of the locale, US English when it is unknown), so
// that the first mode, which callers take as the default, speaks the user's language.
class TTSModes {
public:
    struct Mode {
        SpeechEngine* Engine = nullptr;
        const EngineVoice* Voice = nullptr;
    };

    static std::vector<Mode> All();
    static std::optional<Mode> FindByName(std::string_view modeName);
    static std::optional<Mode> FindByID(const TGUID& modeId);
};

} // namespace olv
