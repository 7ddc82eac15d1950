#pragma once

#include <string>

namespace olv {

class CityDataClass;

// What the window shows of its cities; the main window implements it by handing each call to
// the area concerned, tests by recording the calls.
class CityViews {
public:
    virtual ~CityViews() = default;
    // The main panel, the gauges and the tray icon show the city.
    virtual void ShowCity(const CityDataClass& city) = 0;
    // The My Cities drop-down selects myCityIndex (or nothing when -1), the recent drop-down
    // the recent key (or nothing when empty), after refilling it from the recent cities.
    virtual void SelectCity(int myCityIndex, const std::string& recentKey) = 0;
    // My Cities or their stored records changed: list view, drop-down, menus, hint window.
    virtual void MyCitiesChanged() = 0;
    virtual void ShowStatus(const std::string& text) = 0;
};

} // namespace olv
