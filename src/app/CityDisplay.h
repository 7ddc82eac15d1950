#pragma once

#include <string>
#include <vector>

namespace olv {

class CityDataClass;

// What the main panel shows for a city record, in the units of the reports. Widgets only
// copy these texts; every rule about them lives here.
struct CityDisplay {
    struct Period {
        std::string Header;
        std::string Text;
    };

    std::string Caption; // "Boston, Massachusetts, United States"; a ZIP city's own name
    int Temperature = 0; // whole degrees, the thermometer's target
    bool TemperatureKnown = false;
    double Bearing = 0; // the compass's target
    std::string Humidity;
    std::string ConditionsTime;
    std::string DewPoint;
    std::string Pressure;
    std::string Visibility;
    std::string Conditions;
    std::string WindSpeed;     // "?" when it cannot be told
    std::string WindDirection; // "NW", "Var." for variable winds
    std::string Link;
    std::string ForecastTime;
    std::vector<Period> Forecast;
    std::string TrayTip; // "Boston - Sunny, 45 degrees"
};

CityDisplay DescribeCity(const CityDataClass& city, bool metric);

// The temperature as the list, the tray icon and its tip show it: "?" when the record has no
// whole number (never retrieved, or not observed), as the reports say "Unknown" then, rather
// than the -10 that stands in for it in calculations.
std::string ShownTemperature(const CityDataClass& city, bool metric);

// "City, State, Region" from a key's three parts; for a ZIP key the key itself followed by
// two empty parts (callers that know a ZIP city's name show that instead).
std::string ThreePartName(const std::string& key);

} // namespace olv
