#include "weather/CityDataClass.h"

#include "platform/Paths.h"
#include "scripts/GrabBaseClass.h"
#include "util/EConvertError.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "weather/WeatherUtils.h"

namespace olv {
namespace {

struct StoredField {
    const char* name;
    std::string CityDataClass::*field;
};

// The weather values as stored, in the order they are written after "Name" and "FullName".
const StoredField kWeatherFields[] = {
    {"ConditionsTime", &CityDataClass::ConditionsTime},
    {"Temperature", &CityDataClass::Temperature},
    {"Humidity", &CityDataClass::Humidity},
    {"DewPoint", &CityDataClass::DewPoint},
    {"Wind", &CityDataClass::Wind},
    {"Pressure", &CityDataClass::Pressure},
    {"Conditions", &CityDataClass::Conditions},
    {"Visibility", &CityDataClass::Visibility},
    {"ForecastTime", &CityDataClass::ForecastTime},
    {"Link", &CityDataClass::Link},
};

std::string InProgramFolder(const std::string& fileName) {
    return fileName.find('/') == std::string::npos ? ProgramFolder() + fileName : fileName;
}

std::string Limited(const NVListClass& results, std::string_view name, int64_t length) {
    return Substring(results.Get(name), 1, length);
}

std::string OrUnknown(std::string text) {
    return text.empty() ? "Unknown" : text;
}

// The observation time up to the blank before " on <date>".
std::string CutBeforeOn(const std::string& time) {
    const int64_t on = Find("on", time);
    return on == 0 ? time : Substring(time, 1, on - 2);
}

// A damaged count gives no periods rather than losing the whole record.
void ReadForecastList(const NVListClass& results, std::string_view prefix,
                      std::vector<std::string>& list) {
    try {
        results.ReadList("ForecastCounter", prefix, list);
    } catch (const EConvertError& error) {
        list.clear();
        Log("LoadFromResults-> " + std::string(error.what()));
    }
}

void ReadStoredList(GrabBaseClass& store, const std::string& path, std::string_view name,
                    std::vector<std::string>& list) {
    try {
        store.GetList(path, name, list);
    } catch (const EConvertError& error) {
        list.clear();
        Log("LoadRecord-> " + std::string(error.what()));
    }
}

// A count that is not a number would make rewriting the list fail for good; forget it so
// that the fresh list replaces it.
void DropUnreadableCount(GrabBaseClass& store, const std::string& path, std::string_view name) {
    GBItemClass* node = store.Root.Find(path);
    if (!node || node->NV.Get(name).empty())
        return;
    try {
        Number(node->NV.Get(name));
    } catch (const EConvertError&) {
        node->NV.Remove(name);
    }
}

} // namespace

CityDataClass::CityDataClass(std::string key) : FullName(std::move(key)) {
    if (StartsWith(FullName, "ZIP"))
        ZIP = Substring(FullName, 5, kMax);
}

void CityDataClass::LoadFromResults(const NVListClass& results) {
    ConditionsTime = CutBeforeOn(results.Get("ConditionsTime"));
    Temperature = Limited(results, "Temperature", 10);
    Humidity = OrUnknown(Limited(results, "Humidity", 10));
    DewPoint = OrUnknown(Limited(results, "Dewpoint", 10));
    Wind = Limited(results, "Wind", 40);
    Pressure = Limited(results, "Pressure", 10);
    Conditions = Limited(results, "Conditions", 20);
    Visibility = Limited(results, "Visibility", 10);
    ForecastTime = Limited(results, "ForecastTime", 40);
    ReadForecastList(results, "FHeader", ForecastHeader);
    ReadForecastList(results, "FText", ForecastText);
    Link = results.Get("CityURL");
    HasData = true;
}

void CityDataClass::LoadRecord(const std::string& fileName, const std::string& path) {
    GrabBaseClass store;
    std::string message;
    store.LoadFromFile(InProgramFolder(fileName), message);
    Name = store.GetValue(path, "Name");
    for (const StoredField& stored : kWeatherFields)
        this->*stored.field = WeatherUtils::CutAtTag(store.GetValue(path, stored.name));
    if (Temperature.empty())
        Conditions = "Click Update All to Load";
    ReadStoredList(store, path, "ForecastHeader", ForecastHeader);
    ReadStoredList(store, path, "ForecastText", ForecastText);
}

void CityDataClass::SaveRecord(const std::string& fileName, const std::string& path) const {
    const std::string file = InProgramFolder(fileName);
    GrabBaseClass store;
    std::string message;
    store.LoadFromFile(file, message);
    store.SetValue("/", "Revision", "1,0");
    store.AddKey("/", FullName);
    store.SetValue(path, "Name", Name);
    store.SetValue(path, "FullName", FullName);
    for (const StoredField& stored : kWeatherFields)
        store.SetValue(path, stored.name, this->*stored.field);
    DropUnreadableCount(store, path, "ForecastHeader");
    DropUnreadableCount(store, path, "ForecastText");
    store.SetList(path, "ForecastHeader", ForecastHeader);
    store.SetList(path, "ForecastText", ForecastText);
    store.SaveToFile(file, message);
}

bool CityDataClass::HasTemperature() const {
    try {
        Number(Temperature);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

int CityDataClass::GetTemperatureValue(bool metric) const {
    try {
        const int fahrenheit = Number(Temperature);
        return metric ? WeatherUtils::FahrenheitToCelsius(fahrenheit) : fahrenheit;
    } catch (const EConvertError&) {
        return -10;
    }
}

std::string CityDataClass::GetTemperatureText(bool metric) const {
    return Decimal(GetTemperatureValue(metric));
}

std::string CityDataClass::GetDewPointText(bool metric) const {
    if (!metric)
        return DewPoint;
    try {
        return Decimal(WeatherUtils::FahrenheitToCelsius(Number(DewPoint)));
    } catch (const EConvertError&) {
        return DewPoint;
    }
}

std::string CityDataClass::GetPressureText(bool metric) const {
    return metric ? WeatherUtils::ConvertPressure(Pressure) : Pressure;
}

std::string CityDataClass::GetVisibilityText(bool metric) const {
    return metric ? WeatherUtils::ConvertVisibility(Visibility) : Visibility;
}

std::string CityDataClass::GetDisplayName() const {
    if (!ZIP.empty())
        return Name + ", ";
    return WeatherUtils::ThirdField(FullName) + ", " + WeatherUtils::SecondField(FullName) + ", ";
}

std::string CityDataClass::GetCityNameForZip(const std::string& key) {
    if (!StartsWith(key, "ZIP"))
        return std::string();
    CityDataClass record(key);
    record.LoadRecord(kMyCitiesDataFile, "/" + key);
    return record.ZIP.empty() ? std::string() : record.Name;
}

} // namespace olv
