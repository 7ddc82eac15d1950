#include "app/CityDisplay.h"

#include "util/Strings.h"
#include "util/UtilsClass.h"
#include "weather/CityDataClass.h"
#include "weather/MyCitiesClass.h"
#include "weather/WeatherUtils.h"

namespace olv {
namespace {

std::string WindSpeedText(const std::string& wind, bool metric) {
    std::string speed = WeatherUtils::WindSpeed(wind);
    if (!metric)
        return speed;
    speed = WeatherUtils::ConvertVisibility(speed);
    return SameText(speed, "UNKNOWN") ? "?" : speed;
}

// A wind text of one word ("Calm") is shown whole.
std::string WindDirectionText(const std::string& wind) {
    const std::string first = WeatherUtils::FirstWord(wind);
    if (first == "Variable")
        return "Var.";
    return first.empty() ? Trim(wind) : first;
}

std::string WithoutTabsAndLineFeeds(std::string text) {
    text = UtilsClass::ReplaceAll(text, "\t", "");
    return UtilsClass::ReplaceAll(text, "\n", "");
}

} // namespace

std::string ThreePartName(const std::string& key) {
    return MyCitiesClass::DisplayNameOf(key);
}

CityDisplay DescribeCity(const CityDataClass& city, bool metric) {
    CityDisplay shown;
    shown.Caption = StartsWith(city.FullName, "ZIP") && !city.Name.empty()
                        ? city.Name
                        : ThreePartName(city.FullName);
    shown.Temperature = city.GetTemperatureValue(metric);
    shown.TemperatureKnown = city.HasTemperature();
    shown.Bearing = WeatherUtils::DirectionToDegrees(city.Wind);
    shown.Humidity = city.Humidity;
    shown.ConditionsTime = city.ConditionsTime;
    shown.DewPoint = city.GetDewPointText(metric);
    shown.Pressure = city.GetPressureText(metric);
    shown.Visibility = city.GetVisibilityText(metric);
    shown.Conditions = city.Conditions;
    shown.WindSpeed = WindSpeedText(city.Wind, metric);
    shown.WindDirection = WindDirectionText(city.Wind);
    shown.Link = city.Link;
    shown.ForecastTime = city.ForecastTime;
    const size_t periods = std::min(city.ForecastHeader.size(), city.ForecastText.size());
    for (size_t i = 0; i < periods; ++i)
        shown.Forecast.push_back({WithoutTabsAndLineFeeds(city.ForecastHeader[i]),
                                  WithoutTabsAndLineFeeds(city.ForecastText[i])});
    shown.TrayTip =
        city.Name + " - " + city.Conditions + ", " + ShownTemperature(city, metric) + " degrees";
    return shown;
}

std::string ShownTemperature(const CityDataClass& city, bool metric) {
    return city.HasTemperature() ? city.GetTemperatureText(metric) : "?";
}

} // namespace olv
