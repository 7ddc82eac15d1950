#include "weather/LocationListClass.h"

#include "platform/Files.h"
#include "platform/Paths.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "util/UtilsClass.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <system_error>

namespace olv {

// One city as it stands in the catalogue text.
struct LocationListClass::City {
    std::string_view region;
    std::string_view state;
    std::string_view name;
    std::string_view url;

    // Whether key is region + "|" + state + "|" + name, without building it.
    bool HasKey(std::string_view key) const {
        for (const std::string_view part : {region, state}) {
            if (key.size() <= part.size() || key.substr(0, part.size()) != part ||
                key[part.size()] != '|')
                return false;
            key.remove_prefix(part.size() + 1);
        }
        return key == name;
    }

    std::string Key() const {
        std::string key;
        key.reserve(region.size() + state.size() + name.size() + 2);
        key.append(region).append("|").append(state).append("|").append(name);
        return key;
    }

    LocItemClass Item() const { return LocItemClass(std::string(name), Key(), std::string(url)); }
};

namespace {

constexpr std::string_view kUp = "Up";

// Alphabetical without regard to case, as a list box shows names; names that differ only
// in case keep a fixed order.
void SortNames(std::vector<std::string>& list) {
    std::stable_sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
        const std::string lowerA = LowerCase(a);
        const std::string lowerB = LowerCase(b);
        return lowerA != lowerB ? lowerA < lowerB : a < b;
    });
}

// Cities come grouped, so most repeats equal the entry appended last.
void AppendOnce(std::vector<std::string>& list, std::string_view text) {
    if (!list.empty() && list.back() == text)
        return;
    if (!UtilsClass::InList(list, text))
        list.emplace_back(text);
}

// The lines of a text; CR LF, LF and a lone CR all end a line.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : rest_(text) {}

    bool AtEnd() const { return rest_.empty(); }

    std::string_view Next() {
        const size_t end = std::min(rest_.find_first_of("\r\n"), rest_.size());
        const std::string_view line = rest_.substr(0, end);
        size_t next = end;
        if (next < rest_.size())
            next += rest_.compare(next, 2, "\r\n") == 0 ? 2 : 1;
        rest_.remove_prefix(next);
        return line;
    }

private:
    std::string_view rest_;
};

} // namespace

LocationListClass::LocationListClass() = default;

LocationListClass::LocationListClass(std::string catalogueFile)
    : catalogueFile_(std::move(catalogueFile)) {}

std::string LocationListClass::CatalogueFile() const {
    return catalogueFile_.empty() ? ProgramFolder() + kCatalogueFile : catalogueFile_;
}

// Header, then regions of states of cities, each level closed by "Up" (compared exactly).
// The end of the file ends the catalogue wherever it comes; a city cut short by it is dropped.
template <typename Visit> void LocationListClass::ForEachCity(Visit&& visit) const {
    const std::string path = CatalogueFile();
    std::string text;
    if (!ReadWholeFile(path, text)) {
        const auto reason =
            FileExists(path) ? std::errc::io_error : std::errc::no_such_file_or_directory;
        throw std::system_error(std::make_error_code(reason),
                                "Unable to read the city catalogue " + path);
    }
    LineCursor lines(text);
    lines.Next(); // the header
    City city;
    while (!lines.AtEnd() && (city.region = lines.Next()) != kUp) {
        while (!lines.AtEnd() && (city.state = lines.Next()) != kUp) {
            while (!lines.AtEnd() && (city.name = lines.Next()) != kUp) {
                city.url = lines.Next();
                if (lines.AtEnd())
                    return;
                lines.Next(); // two spare lines
                if (lines.AtEnd())
                    return;
                lines.Next();
                if (!visit(city))
                    return;
            }
        }
    }
}

std::vector<LocItemClass> LocationListClass::ReadItems() const {
    std::vector<LocItemClass> items;
    ForEachCity([&](const City& city) {
        items.push_back(city.Item());
        return true;
    });
    return items;
}

void LocationListClass::FillRegions(std::vector<std::string>& list) const {
    list.clear();
    ForEachCity([&](const City& city) {
        AppendOnce(list, city.region);
        return true;
    });
    SortNames(list);
    // A shorter catalogue has no United States entry to rename; it still gets the ZIP entry.
    if (list.size() > kUnitedStatesIndex)
        list[kUnitedStatesIndex] = kUnitedStatesByList;
    list.emplace_back(kUnitedStatesByZip);
}

void LocationListClass::FillStates(std::vector<std::string>& list, std::string_view region) const {
    list.clear();
    ForEachCity([&](const City& city) {
        if (city.region == region)
            AppendOnce(list, city.state);
        return true;
    });
    SortNames(list);
}

void LocationListClass::FillCities(std::vector<std::string>& list, std::string_view region,
                                   std::string_view state) const {
    list.clear();
    ForEachCity([&](const City& city) {
        if (city.region == region && city.state == state)
            list.emplace_back(city.name);
        return true;
    });
    SortNames(list);
}

std::optional<LocItemClass> LocationListClass::Find(std::string_view key) const {
    if (StartsWith(key, "ZIP"))
        return std::nullopt;
    std::optional<LocItemClass> found;
    ForEachCity([&](const City& city) {
        if (!city.HasKey(key))
            return true;
        found = city.Item();
        return false;
    });
    if (!found)
        Log("Unable to find location " + std::string(key));
    return found;
}

std::string LocationListClass::GetRandomKey() const {
    std::vector<std::string> keys;
    ForEachCity([&](const City& city) {
        keys.push_back(city.Key());
        return true;
    });
    if (keys.empty())
        return std::string();
    std::mt19937 generator(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<size_t> pick(0, keys.size() - 1);
    return keys[pick(generator)];
}

} // namespace olv
