#pragma once

#include <string>

namespace olv {

// One file the update server may have a newer revision of.
struct SmartUpdateFileClass {
    // The local file in the program folder, and the last part of its download path.
    std::string FileName;
    // Downloaded without asking; otherwise the user is asked first.
    bool Silent = true;
    // A new copy only takes effect when the program starts again.
    bool RestartNeeded = false;
};

} // namespace olv
