#pragma once

#include "settings/BaseRegClass.h"
#include "settings/Variant.h"

#include <string_view>

namespace olv {

class TBaseRegistryClass;

// Declares a setting unless an item of that name (case ignored) is already declared, so that
// two voices or engines sharing a setting name, or a second initialisation, never leave two
// items writing one value. True when it declared the item.
bool DeclareOnce(TBaseRegistryClass& settings, std::string_view name, RegScope scope, RegType type,
                 const Variant& defaultValue);

} // namespace olv
