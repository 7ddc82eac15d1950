#pragma once

#include "weather/LocItemClass.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

// Answers the questions the window asks about the city catalogue "OVDef.chl". The catalogue
// is read afresh for every operation and nothing is kept in between, so a catalogue replaced
// by the updater is used at once. A missing or unreadable catalogue throws std::system_error.
class LocationListClass {
public:
    static constexpr const char* kCatalogueFile = "OVDef.chl";
    static constexpr const char* kUnitedStatesByList = "United States (by List)";
    static constexpr const char* kUnitedStatesByZip = "United States (by Zip Code)";
    // The index at which the window expects the United States in the region list.
    static constexpr size_t kUnitedStatesIndex = 12;

    // Reads the catalogue from the program folder.
    LocationListClass();
    // Reads the catalogue from the given file.
    explicit LocationListClass(std::string catalogueFile);

    // The sorted distinct regions, the thirteenth shown as "United States (by List)", and
    // "United States (by Zip Code)" at the end.
    void FillRegions(std::vector<std::string>& list) const;
    // The sorted distinct states of a region (its catalogue name, not the offered text).
    void FillStates(std::vector<std::string>& list, std::string_view region) const;
    // The sorted names of the cities of a state.
    void FillCities(std::vector<std::string>& list, std::string_view region,
                    std::string_view state) const;
    // The city with exactly this key; none for a ZIP key or an unknown one.
    std::optional<LocItemClass> Find(std::string_view key) const;
    // The key of a city picked at random; empty when the catalogue holds none.
    std::string GetRandomKey() const;

    // Every city of the catalogue in file order.
    std::vector<LocItemClass> ReadItems() const;

    // The file read: the one given, else "OVDef.chl" in the program folder as it is now.
    std::string CatalogueFile() const;

private:
    struct City;
    // Reads the catalogue and calls visit(City) for every complete city in file order until
    // visit returns false. Nothing is copied unless visit keeps it.
    template <typename Visit> void ForEachCity(Visit&& visit) const;

    std::string catalogueFile_;
};

} // namespace olv
