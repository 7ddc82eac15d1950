#pragma once

#include "settings/TBaseRegistryClass.h"

namespace olv {

// The program's settings: application name "Olvenar" (key "Software\HalvernWorks\Olvenar"),
// version "1.27", and its 24 items (RegionIndex, StateIndex, RecentCityList, the proxy items,
// the view switches, MainCityName, AutoStart, SysTray, AutoUpdate, Celcius, DisableSplash, the
// colour items and the tray font). The constructor declares them; the owner calls LoadAll.
class OlvenarRegistryClass : public TBaseRegistryClass {
public:
    explicit OlvenarRegistryClass(RegistryStore& store = RegistryStore::Shared());

    std::string VersionText() const override;
};

} // namespace olv
