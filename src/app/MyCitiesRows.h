#pragma once

#include <string>
#include <vector>

namespace olv {

class MyCitiesClass;

// One My City as the list view, the per-city menus, the drop-down and the hint window show
// it, from the record stored in "MyCitiesData.chl".
struct MyCitiesRow {
    std::string Key;
    std::string Caption; // "Boston, Massachusetts, United States"; a ZIP city's stored name
    std::string Temperature;
    std::string Humidity;
    std::string Conditions;
    std::string Time;
};

// The rows in My Cities order; temperatures in the units of the reports.
std::vector<MyCitiesRow> MyCitiesRows(const MyCitiesClass& myCities, bool metric);

// The caption of a city key: a ZIP city's stored name when it has one, else the three-part
// name.
std::string MyCityCaption(const std::string& key, const std::string& displayName,
                          const std::string& storedName);

} // namespace olv
