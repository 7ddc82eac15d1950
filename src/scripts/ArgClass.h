#pragma once

#include <string>

namespace olv {

// One argument of a script line: a literal ('quoted') or the name of a variable.
struct ArgClass {
    std::string ArgText;
    bool IsLiteral = false;

    void Clear() {
        ArgText.clear();
        IsLiteral = false;
    }
};

} // namespace olv
