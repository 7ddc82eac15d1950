#pragma once

#include "speech/TGUID.h"

#include <cstdint>
#include <string>

namespace olv {

// What a mode (one voice of one engine) tells about itself, as the speech API's mode record
// does: the engine, the mode, its language (a Windows language identifier) and its speaker.
struct TTSModeInfo {
    TGUID EngineID;
    std::string MfgName;
    std::string ProductName;
    TGUID ModeID;
    std::string ModeName;
    int32_t LanguageID = 0;
    std::string Speaker;
    std::string Style;
};

} // namespace olv
