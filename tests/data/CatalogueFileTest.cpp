#include "data/ShippedFile.h"
#include "platform/Files.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace olv {
namespace {

struct City {
    std::string Name, Address, Latitude, Longitude;
};

struct SubRegion {
    std::string Name;
    std::vector<City> Cities;
};

struct Region {
    std::string Name;
    std::vector<SubRegion> SubRegions;
};

struct Catalogue {
    std::string Header;
    std::vector<Region> Regions;
};

// Stricter than the program's reader: every city has its four lines, every list is closed by
// "Up", and nothing follows the final "Up". Throws, saying where the file went wrong.
Catalogue ParseCatalogue(const std::vector<std::string>& lines) {
    size_t at = 0;
    const auto next = [&](const std::string& inside) -> const std::string& {
        if (at >= lines.size())
            throw std::runtime_error("the file ends inside " + inside);
        return lines[at++];
    };
    Catalogue catalogue{next("the header"), {}};
    for (std::string region; (region = next("the region list")) != "Up";) {
        Region& regionEntry = catalogue.Regions.emplace_back(Region{region, {}});
        for (std::string subRegion; (subRegion = next(region)) != "Up";) {
            SubRegion& entry = regionEntry.SubRegions.emplace_back(SubRegion{subRegion, {}});
            const std::string inside = region + "|" + subRegion;
            for (std::string name; (name = next(inside)) != "Up";) {
                const std::string key = inside + "|" + name; // braces read left to right
                entry.Cities.push_back(City{name, next(key), next(key), next(key)});
            }
        }
    }
    if (at != lines.size())
        throw std::runtime_error("text after the closing Up, line " + std::to_string(at + 1));
    return catalogue;
}

const std::string& ShippedText() {
    static const std::string text = test::ReadShippedFile("OVDef.chl");
    return text;
}

const Catalogue& Shipped() {
    static const Catalogue catalogue = ParseCatalogue(SplitLines(ShippedText()));
    return catalogue;
}

// Calls fn with the key ("Region|SubRegion|City") and the region of every city.
void ForEachCity(const std::function<void(const std::string&, const Region&, const City&)>& fn) {
    for (const Region& region : Shipped().Regions)
        for (const SubRegion& subRegion : region.SubRegions)
            for (const City& city : subRegion.Cities)
                fn(region.Name + "|" + subRegion.Name + "|" + city.Name, region, city);
}

// A name the lists can show and the keys can carry.
bool IsPlainName(const std::string& name) {
    if (name.empty() || name == "Up" || name.front() == ' ' || name.back() == ' ')
        return false;
    for (const char c : name)
        if (c < 0x20 || c > 0x7e || c == '|' || c == '<' || c == '>')
            return false;
    return name.find(" (") == std::string::npos;
}

std::string ExpectedAddress(const std::string& region, const City& city) {
    if (region == "United States")
        return "https://forecast.weather.gov/MapClick.php?lat=" + city.Latitude +
               "&lon=" + city.Longitude + "&FcstType=json";
    return "https://api.open-meteo.com/v1/forecast?latitude=" + city.Latitude +
           "&longitude=" + city.Longitude +
           "&current=temperature_2m,relative_humidity_2m,dew_point_2m,weather_code,pressure_msl,"
           "wind_speed_10m,wind_direction_10m,visibility"
           "&daily=weather_code,temperature_2m_max,temperature_2m_min"
           "&temperature_unit=fahrenheit&wind_speed_unit=mph&timezone=auto&forecast_days=7";
}

TEST(CatalogueFile, IsPlainAsciiWithCrLfLineEndsAndCreditsGeoNames) {
    const std::string& text = ShippedText();
    EXPECT_EQ(test::FirstNonAsciiByte(text), std::string::npos);
    EXPECT_EQ(test::FirstForeignLineEnd(text, "\r\n"), std::string::npos);
    EXPECT_TRUE(text.size() > 2 && text.compare(text.size() - 2, 2, "\r\n") == 0);
    ASSERT_NO_THROW(Shipped());
    EXPECT_NE(Shipped().Header.find("GeoNames"), std::string::npos) << Shipped().Header;
    EXPECT_NE(Shipped().Header.find("CC BY 4.0"), std::string::npos) << Shipped().Header;
}

// The program shows region 13 as "United States (by List)" and adds the ZIP entry after it.
TEST(CatalogueFile, HasThirteenSortedRegionsWithTheUnitedStatesThirteenth) {
    std::vector<std::string> names;
    for (const Region& region : Shipped().Regions)
        names.push_back(region.Name);
    const std::vector<std::string> expected = {
        "Africa",          "Asia",           "Australia",    "Canada",        "Caribbean",
        "Central America", "Europe",         "Middle East",  "North America", "Pacific Islands",
        "South America",   "Southeast Asia", "United States"};
    EXPECT_EQ(names, expected);
}

// True when the names rise strictly: sorted, and none twice.
template <typename T> bool StrictlySorted(const std::vector<T>& items) {
    return std::adjacent_find(items.begin(), items.end(), [](const T& a, const T& b) {
               return !(a.Name < b.Name);
           }) == items.end();
}

TEST(CatalogueFile, SubRegionsAndCitiesAreSortedAndNoListIsEmpty) {
    for (const Region& region : Shipped().Regions) {
        EXPECT_FALSE(region.SubRegions.empty()) << region.Name;
        EXPECT_TRUE(StrictlySorted(region.SubRegions)) << region.Name;
        for (const SubRegion& subRegion : region.SubRegions) {
            EXPECT_FALSE(subRegion.Cities.empty()) << region.Name << "|" << subRegion.Name;
            EXPECT_TRUE(StrictlySorted(subRegion.Cities)) << region.Name << "|" << subRegion.Name;
        }
    }
}

TEST(CatalogueFile, EveryCityHasAUniquePlainKeyAndTheRightServiceAddress) {
    for (const Region& region : Shipped().Regions) {
        EXPECT_TRUE(IsPlainName(region.Name)) << region.Name;
        for (const SubRegion& subRegion : region.SubRegions)
            EXPECT_TRUE(IsPlainName(subRegion.Name)) << subRegion.Name;
    }
    std::set<std::string> keys;
    ForEachCity([&](const std::string& key, const Region& region, const City& city) {
        EXPECT_TRUE(IsPlainName(city.Name)) << key;
        EXPECT_TRUE(keys.insert(key).second) << "twice: " << key;
        EXPECT_TRUE(test::IsCoordinate(city.Latitude, 90)) << key << ": " << city.Latitude;
        EXPECT_TRUE(test::IsCoordinate(city.Longitude, 180)) << key << ": " << city.Longitude;
        EXPECT_EQ(city.Address, ExpectedAddress(region.Name, city)) << key;
    });
}

TEST(CatalogueFile, ListsTheCitiesUsersLookFor) {
    std::set<std::string> keys;
    ForEachCity([&](const std::string& key, const Region&, const City&) { keys.insert(key); });
    EXPECT_GE(keys.size(), 4000u);

    const char* const usCities[] = {
        // Every state's capital.
        "Alabama|Montgomery", "Alaska|Juneau", "Arizona|Phoenix", "Arkansas|Little Rock",
        "California|Sacramento", "Colorado|Denver", "Connecticut|Hartford", "Delaware|Dover",
        "District of Columbia|Washington", "Florida|Tallahassee", "Georgia|Atlanta",
        "Hawaii|Honolulu", "Idaho|Boise", "Illinois|Springfield", "Indiana|Indianapolis",
        "Iowa|Des Moines", "Kansas|Topeka", "Kentucky|Frankfort", "Louisiana|Baton Rouge",
        "Maine|Augusta", "Maryland|Annapolis", "Massachusetts|Boston", "Michigan|Lansing",
        "Minnesota|Saint Paul", "Mississippi|Jackson", "Missouri|Jefferson City", "Montana|Helena",
        "Nebraska|Lincoln", "Nevada|Carson City", "New Hampshire|Concord", "New Jersey|Trenton",
        "New Mexico|Santa Fe", "New York|Albany", "North Carolina|Raleigh", "North Dakota|Bismarck",
        "Ohio|Columbus", "Oklahoma|Oklahoma City", "Oregon|Salem", "Pennsylvania|Harrisburg",
        "Rhode Island|Providence", "South Carolina|Columbia", "South Dakota|Pierre",
        "Tennessee|Nashville", "Texas|Austin", "Utah|Salt Lake City", "Vermont|Montpelier",
        "Virginia|Richmond", "Washington|Olympia", "West Virginia|Charleston", "Wisconsin|Madison",
        "Wyoming|Cheyenne",
        // Big cities, and the capital of Puerto Rico.
        "California|Los Angeles", "Texas|Houston", "Illinois|Chicago", "Puerto Rico|San Juan"};
    for (const char* city : usCities)
        EXPECT_TRUE(keys.count(std::string("United States|") + city)) << city;
    for (const char* key :
         {"Africa|Egypt|Cairo", "Asia|Japan|Tokyo",
          "Australia|Australian Capital Territory|Canberra", "Canada|Ontario|Ottawa",
          "Caribbean|Cuba|Havana", "Central America|Costa Rica|San Jose", "Europe|France|Paris",
          "Middle East|Turkey|Ankara", "North America|Mexico|Mexico City",
          "Pacific Islands|New Zealand|Wellington", "South America|Brazil|Brasilia",
          "Southeast Asia|Vietnam|Hanoi"})
        EXPECT_TRUE(keys.count(key)) << key;

    // The big states list their main cities, not just a handful.
    for (const SubRegion& state : Shipped().Regions.back().SubRegions) {
        const std::set<std::string> big = {"California", "Texas", "Florida", "New York"};
        EXPECT_TRUE(!big.count(state.Name) || state.Cities.size() >= 30) << state.Name;
    }
}

} // namespace
} // namespace olv
