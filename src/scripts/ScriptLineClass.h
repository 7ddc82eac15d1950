#pragma once

#include "scripts/ArgClass.h"

#include <array>
#include <string>
#include <string_view>

namespace olv {

// One parsed script line: a command word and up to three arguments.
class ScriptLineClass {
public:
    // Clears the line and fills it from text.
    void Parse(std::string_view line);

    std::string LineText;
    std::string Command;
    std::array<ArgClass, 3> Args;
};

} // namespace olv
