#include "speech/DeclareOnce.h"

#include "settings/TBaseRegistryClass.h"
#include "util/Strings.h"

#include <algorithm>

namespace olv {

bool DeclareOnce(TBaseRegistryClass& settings, std::string_view name, RegScope scope, RegType type,
                 const Variant& defaultValue) {
    const auto& items = settings.Items();
    const bool known = std::any_of(items.begin(), items.end(),
                                   [name](const auto& item) { return SameText(item->Name, name); });
    if (!known)
        settings.Declare(name, scope, type, defaultValue);
    return !known;
}

} // namespace olv
