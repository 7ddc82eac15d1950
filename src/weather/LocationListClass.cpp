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
namespace {

const std::string kUp = "Up";

// Alphabetical without regard to case, as a list box shows names; names that differ only
// in case keep a fixed order.
void SortNames(std::vector<std::string>& list) {
    std::stable_sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
        const std::string lowerA = LowerCase(a);
        const std::string lowerB = LowerCase(b);
        return lowerA != lowerB ? lowerA < lowerB : a < b;
    });
}

void AppendOnce(std::vector<std::string>& list, std::string text) {
    if (!UtilsClass::InList(list, text))
        list.push_back(std::move(text));
}

// Walks the catalogue's lines: header, then regions of states of cities, each level closed
// by "Up". The end of the file ends the catalogue wherever it comes; a city cut short by it
// is dropped.
class CatalogueReader {
public:
    explicit CatalogueReader(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    std::vector<LocItemClass> Items() {
        std::vector<LocItemClass> items;
        next_ = 1; // the header line is not read
        while (!AtEnd()) {
            const std::string& region = Next();
            if (region == kUp)
                break;
            ReadStates(region, items);
        }
        return items;
    }

private:
    bool AtEnd() const { return next_ >= lines_.size(); }
    const std::string& Next() { return lines_[next_++]; }

    void ReadStates(const std::string& region, std::vector<LocItemClass>& items) {
        while (!AtEnd()) {
            const std::string& state = Next();
            if (state == kUp)
                return;
            ReadCities(region, state, items);
        }
    }

    void ReadCities(const std::string& region, const std::string& state,
                    std::vector<LocItemClass>& items) {
        constexpr size_t kLinesAfterName = 3; // page address and two spare lines
        while (!AtEnd()) {
            const std::string& city = Next();
            if (city == kUp)
                return;
            if (lines_.size() - next_ < kLinesAfterName) {
                next_ = lines_.size();
                return;
            }
            const std::string& url = Next();
            next_ += kLinesAfterName - 1;
            items.emplace_back(city, region + "|" + state + "|" + city, url);
        }
    }

    std::vector<std::string> lines_;
    size_t next_ = 0;
};

} // namespace

LocationListClass::LocationListClass() = default;

LocationListClass::LocationListClass(std::string catalogueFile)
    : catalogueFile_(std::move(catalogueFile)) {}

std::string LocationListClass::CatalogueFile() const {
    return catalogueFile_.empty() ? ProgramFolder() + kCatalogueFile : catalogueFile_;
}

std::vector<LocItemClass> LocationListClass::ReadItems() const {
    const std::string path = CatalogueFile();
    std::string text;
    if (!ReadWholeFile(path, text)) {
        const auto reason =
            FileExists(path) ? std::errc::io_error : std::errc::no_such_file_or_directory;
        throw std::system_error(std::make_error_code(reason),
                                "Unable to read the city catalogue " + path);
    }
    return CatalogueReader(SplitLines(text)).Items();
}

void LocationListClass::FillRegions(std::vector<std::string>& list) const {
    list.clear();
    for (const LocItemClass& item : ReadItems())
        AppendOnce(list, item.Region());
    SortNames(list);
    // A shorter catalogue has no United States entry to rename; it still gets the ZIP entry.
    if (list.size() > kUnitedStatesIndex)
        list[kUnitedStatesIndex] = kUnitedStatesByList;
    list.emplace_back(kUnitedStatesByZip);
}

void LocationListClass::FillStates(std::vector<std::string>& list, std::string_view region) const {
    list.clear();
    for (const LocItemClass& item : ReadItems())
        if (item.Region() == region)
            AppendOnce(list, item.State());
    SortNames(list);
}

void LocationListClass::FillCities(std::vector<std::string>& list, std::string_view region,
                                   std::string_view state) const {
    list.clear();
    for (const LocItemClass& item : ReadItems())
        if (item.Region() == region && item.State() == state)
            list.push_back(item.Name);
    SortNames(list);
}

std::optional<LocItemClass> LocationListClass::Find(std::string_view key) const {
    if (StartsWith(key, "ZIP"))
        return std::nullopt;
    for (LocItemClass& item : ReadItems())
        if (item.Key == key)
            return std::move(item);
    Log("Unable to find location " + std::string(key));
    return std::nullopt;
}

std::string LocationListClass::GetRandomKey() const {
    const std::vector<LocItemClass> items = ReadItems();
    if (items.empty())
        return std::string();
    std::mt19937 generator(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<size_t> pick(0, items.size() - 1);
    return items[pick(generator)].Key;
}

} // namespace olv
