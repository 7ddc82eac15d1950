#include "weather/MyCitiesClass.h"

#include "platform/Paths.h"
#include "util/EConvertError.h"
#include "util/Log.h"
#include "weather/WeatherUtils.h"

#include <utility>

namespace olv {

std::string MyCitiesClass::FilePath() const {
    return ProgramFolder() + kFileName;
}

void MyCitiesClass::Load() {
    const std::string path = FilePath();
    Log("MyCitiesClass loading " + path);
    std::string message;
    store_.LoadFromFile(path, message);
    ReadKeys();
    DisplayNames.clear();
    for (const std::string& key : Keys)
        DisplayNames.push_back(DisplayNameOf(key));
    Sort();
}

// A count that is not a number would otherwise lose every city at the next save: take the
// entries that are there instead.
void MyCitiesClass::ReadKeys() {
    try {
        store_.GetList("/", kListName, Keys);
    } catch (const EConvertError&) {
        Log("MyCitiesClass: unreadable count, reading the entries present");
        Keys.clear();
        const NVListClass& values = store_.Root.NV;
        const std::string prefix = kListName;
        for (size_t i = 0; values.Has(prefix + std::to_string(i)); ++i)
            Keys.push_back(values.Get(prefix + std::to_string(i)));
        store_.Root.NV.Put(kListName, std::to_string(Keys.size()));
    }
}

void MyCitiesClass::Save() {
    std::string message;
    store_.SetList("/", kListName, Keys);
    store_.SaveToFile(FilePath(), message);
}

int MyCitiesClass::IndexOf(std::string_view key) const {
    for (size_t i = 0; i < Keys.size(); ++i)
        if (Keys[i] == key)
            return static_cast<int>(i);
    return -1;
}

std::string MyCitiesClass::DisplayNameOf(std::string_view key) {
    const auto [region, rest] = WeatherUtils::SplitAtBar(key);
    const auto [state, city] = WeatherUtils::SplitAtBar(rest);
    std::string name(city);
    name.append(", ").append(state).append(", ").append(region);
    return name;
}

// Bubble sort by plain character codes: stable, so equal names keep their order, and the
// keys move with their names.
void MyCitiesClass::Sort() {
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 1; i < DisplayNames.size(); ++i) {
            if (DisplayNames[i - 1] > DisplayNames[i]) {
                std::swap(DisplayNames[i - 1], DisplayNames[i]);
                std::swap(Keys[i - 1], Keys[i]);
                swapped = true;
            }
        }
    }
}

} // namespace olv
