#include "weather/MyCitiesClass.h"

#include "platform/Paths.h"
#include "util/EConvertError.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "weather/WeatherUtils.h"

#include <algorithm>
#include <numeric>
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

// A count that is not a number, or one beyond the entries there, would otherwise lose every
// city at the next save or add empty ones: take the entries that are there instead.
void MyCitiesClass::ReadKeys() {
    const NVListClass& values = store_.Root.NV;
    const std::string prefix = kListName;
    try {
        store_.GetList("/", kListName, Keys);
        if (Keys.empty() || values.Has(prefix + std::to_string(Keys.size() - 1)))
            return;
    } catch (const EConvertError&) {
    }
    Log("MyCitiesClass: damaged count, reading the entries present");
    Keys.clear();
    for (size_t i = 0; values.Has(prefix + std::to_string(i)); ++i)
        Keys.push_back(values.Get(prefix + std::to_string(i)));
    store_.Root.NV.Put(kListName, std::to_string(Keys.size()));
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
    if (StartsWith(key, "ZIP:"))
        return "ZIP code " + std::string(key.substr(4));
    const auto [region, rest] = WeatherUtils::SplitAtBar(key);
    const auto [state, city] = WeatherUtils::SplitAtBar(rest);
    std::string name(city);
    name.append(", ").append(state).append(", ").append(region);
    return name;
}

// By plain character codes (unsigned, as Latin-1), keeping the order of equal names, the keys
// moving with their names: what a bubble sort gives, without its time on long lists.
void MyCitiesClass::Sort() {
    std::vector<size_t> order(Keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return DisplayNames[a] < DisplayNames[b]; });
    std::vector<std::string> keys;
    std::vector<std::string> names;
    for (const size_t i : order) {
        keys.push_back(std::move(Keys[i]));
        names.push_back(std::move(DisplayNames[i]));
    }
    Keys = std::move(keys);
    DisplayNames = std::move(names);
}

} // namespace olv
