#pragma once

#include <string>

namespace olv {

// A label of a loaded script and the index of its line.
struct LabelLineClass {
    std::string LabelName;
    int LineIndex = 0;
};

} // namespace olv
