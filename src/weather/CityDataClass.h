#pragma once

#include "scripts/NVListClass.h"

#include <string>
#include <string_view>
#include <vector>

namespace olv {

// The current conditions and the forecast of one city, as texts. Filled from the results of a
// retrieval or from the record stored for a My City. Values are as published: degrees
// Fahrenheit, inches of mercury, miles; the display forms convert them on request.
class CityDataClass {
public:
    // Where the weather of My Cities is kept, one section per city key.
    static constexpr const char* kMyCitiesDataFile = "MyCitiesData.chl";

    explicit CityDataClass(std::string key = std::string());

    // Copies the results of a retrieval script.
    void LoadFromResults(const NVListClass& results);
    // Fills the record from a data file (a bare name is taken from the program folder);
    // path is "/" + key.
    void LoadRecord(const std::string& fileName, const std::string& path);
    // Stores the record into a data file, keeping every other city in it. An empty field
    // keeps the value stored earlier. Throws std::system_error when the file cannot be written.
    void SaveRecord(const std::string& fileName, const std::string& path) const;

    // Whether the temperature is a whole number, that is, one the service gave.
    bool HasTemperature() const;
    // The whole-number temperature, in Celsius when metric; -10 when it is not a whole number.
    int GetTemperatureValue(bool metric) const;
    std::string GetTemperatureText(bool metric) const;
    // In Celsius when metric and a whole number; otherwise as published.
    std::string GetDewPointText(bool metric) const;
    // Hectopascals when metric ("0" when not a number); otherwise as published.
    std::string GetPressureText(bool metric) const;
    // Kilometres when metric ("Unknown" when not a number); otherwise as published.
    std::string GetVisibilityText(bool metric) const;
    // "City, State, " for a listed city, "Name, " for a ZIP city.
    std::string GetDisplayName() const;

    // The stored name of a ZIP city among My Cities; empty for any other key.
    static std::string GetCityNameForZip(const std::string& key);

    std::string Name;
    std::string FullName; // the location key
    std::string ZIP;      // the code of a "ZIP:" key, else empty
    std::string ConditionsTime;
    std::string Temperature;
    std::string DewPoint;
    std::string Humidity;
    std::string Wind;
    std::string Pressure;
    std::string Conditions;
    std::string Visibility;
    std::string ForecastTime;
    std::vector<std::string> ForecastHeader; // period headings, parallel to ForecastText
    std::vector<std::string> ForecastText;
    std::string Link; // the city's weather page
    bool HasData = false;
};

} // namespace olv
