#pragma once

#include <string>
#include <vector>

namespace olv {

// Splits BaseString at every BreakString into StringList.
//   TBrkApart parts;
//   parts.BaseString = "Software\\HalvernWorks"; parts.BreakString = "\\"; parts.Split();
class TBrkApart {
public:
    // Clears StringList and fills it with the pieces between the breaks, left to right. Empty
    // pieces are kept only when AllowEmptyString is set. An empty BreakString gives the whole
    // text as one piece.
    void Split();

    std::string BaseString;
    std::string BreakString;
    bool AllowEmptyString = false;
    std::vector<std::string> StringList;
};

} // namespace olv
