#pragma once

#include "settings/TBaseRegistryClass.h"

#include <string>

namespace olv {

// The speech settings: a settings object of its own whose application name is the program's
// followed by "\BaseTTS" ("Software\HalvernWorks\Olvenar\BaseTTS"), kept in the same store as
// the program's settings. The speech controller, its voices, engines and pre-processor declare
// their items in it.
class TBaseVoiceRegistryClass : public TBaseRegistryClass {
public:
    static constexpr const char* kVersion = "0.210";
    static constexpr const char* kKeySuffix = "\\BaseTTS";

    // Takes the application name and the store from the program's settings object.
    explicit TBaseVoiceRegistryClass(const TBaseRegistryClass& programSettings);

    std::string VersionText() const override;
};

} // namespace olv
