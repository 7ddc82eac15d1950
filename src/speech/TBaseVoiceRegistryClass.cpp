#include "speech/TBaseVoiceRegistryClass.h"

namespace olv {

TBaseVoiceRegistryClass::TBaseVoiceRegistryClass(const TBaseRegistryClass& programSettings)
    : TBaseRegistryClass(programSettings.Store()) {
    SetApplicationName(programSettings.ApplicationName() + kKeySuffix);
}

std::string TBaseVoiceRegistryClass::VersionText() const {
    return kVersion;
}

} // namespace olv
