#include "settings/BaseRegClass.h"

#include "util/Log.h"

namespace olv {

void BaseRegClass::LogTakingDefault(std::string_view storedText) const {
    Log("Setting " + Name + ": '" + std::string(storedText) + "' cannot be read, using " +
        DefaultAsText());
}

} // namespace olv
