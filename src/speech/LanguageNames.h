#pragma once

#include <cstdint>
#include <string>

namespace olv {

// The names under which voices and engines show their language, by Windows language identifier
// (0x409 "US English"). The names are part of stored setting names ("ENG_eSpeak NG - German"),
// so they never change once shipped.
class LanguageNames {
public:
    // The name for the identifier; when it has none, the name of its primary language's
    // default entry (low byte + 0x400: 0xC09 gives "US English"); otherwise "".
    static std::string NameOf(int32_t languageId);
};

} // namespace olv
