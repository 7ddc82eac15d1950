#include "app/CityKeys.h"

#include "util/Strings.h"

#include <algorithm>

namespace olv {

std::string CityKeys::RegionPart(std::string_view regionText) {
    const int64_t paren = Find(" (", regionText);
    return std::string(paren > 0 ? regionText.substr(0, size_t(paren - 1)) : regionText);
}

std::string CityKeys::GlobalKey(std::string_view regionText, std::string_view state,
                                std::string_view city) {
    return RegionPart(regionText) + "|" + std::string(state) + "|" + std::string(city);
}

std::string CityKeys::ZipKey(std::string_view zipField) {
    return zipField.size() == kZipLength ? "ZIP:" + std::string(zipField) : std::string();
}

void CityKeys::RememberRecent(std::vector<std::string>& recent, const std::string& key) {
    if (std::find(recent.begin(), recent.end(), key) != recent.end())
        return;
    while (recent.size() >= kMaxRecentCities)
        recent.erase(recent.begin());
    recent.push_back(key);
}

} // namespace olv
