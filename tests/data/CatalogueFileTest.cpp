#include "data/ShippedFile.h"
#include "platform/Files.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace olv {
namespace {

struct City {
    std::string name;
    std::string address;
    std::string latitude;
    std::string longitude;
};

struct SubRegion {
    std::string name;
    std::vector<City> cities;
};

struct Region {
    std::string name;
    std::vector<SubRegion> subRegions;
};

struct Catalogue {
    std::string header;
    std::vector<Region> regions;
};

// Hands out the lines one by one and says where the file ended too early.
class LineCursor {
public:
    explicit LineCursor(const std::vector<std::string>& lines) : lines_(lines) {}
    const std::string& Next(const std::string& inside) {
        if (position_ >= lines_.size())
            throw std::runtime_error("the file ends inside " + inside);
        return lines_[position_++];
    }
    bool AtEnd() const { return position_ >= lines_.size(); }
    size_t LineNumber() const { return position_; }

private:
    const std::vector<std::string>& lines_;
    size_t position_ = 0;
};

// Stricter than the program's reader: every city has its four lines, every list is closed by
// "Up", and nothing follows the final "Up".
Catalogue ParseCatalogue(const std::vector<std::string>& lines) {
    LineCursor cursor(lines);
    Catalogue catalogue;
    catalogue.header = cursor.Next("the header");
    for (;;) {
        const std::string& regionName = cursor.Next("the region list");
        if (regionName == "Up")
            break;
        Region& region = catalogue.regions.emplace_back(Region{regionName, {}});
        for (;;) {
            const std::string& subRegionName = cursor.Next("region " + region.name);
            if (subRegionName == "Up")
                break;
            SubRegion& subRegion = region.subRegions.emplace_back(SubRegion{subRegionName, {}});
            for (;;) {
                const std::string inside = region.name + "|" + subRegion.name;
                const std::string& cityName = cursor.Next(inside);
                if (cityName == "Up")
                    break;
                City city{cityName, cursor.Next(inside + "|" + cityName), "", ""};
                city.latitude = cursor.Next(inside + "|" + cityName);
                city.longitude = cursor.Next(inside + "|" + cityName);
                subRegion.cities.push_back(city);
            }
        }
    }
    if (!cursor.AtEnd())
        throw std::runtime_error("text after the closing Up, line " +
                                 std::to_string(cursor.LineNumber() + 1));
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

const Region* FindRegion(const std::string& name) {
    for (const Region& region : Shipped().regions)
        if (region.name == name)
            return &region;
    return nullptr;
}

const SubRegion* FindSubRegion(const std::string& region, const std::string& name) {
    if (const Region* found = FindRegion(region))
        for (const SubRegion& subRegion : found->subRegions)
            if (subRegion.name == name)
                return &subRegion;
    return nullptr;
}

bool HasCity(const std::string& region, const std::string& subRegion, const std::string& name) {
    const SubRegion* found = FindSubRegion(region, subRegion);
    return found && std::any_of(found->cities.begin(), found->cities.end(),
                                [&](const City& city) { return city.name == name; });
}

size_t CityCount() {
    size_t count = 0;
    for (const Region& region : Shipped().regions)
        for (const SubRegion& subRegion : region.subRegions)
            count += subRegion.cities.size();
    return count;
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

const std::string kNwsAddress = "https://forecast.weather.gov/MapClick.php?lat=";
const std::string kOpenMeteoAddress = "https://api.open-meteo.com/v1/forecast?latitude=";
const std::string kOpenMeteoQuery =
    "&current=temperature_2m,relative_humidity_2m,dew_point_2m,weather_code,pressure_msl,"
    "wind_speed_10m,wind_direction_10m,visibility"
    "&daily=weather_code,temperature_2m_max,temperature_2m_min"
    "&temperature_unit=fahrenheit&wind_speed_unit=mph&timezone=auto&forecast_days=7";

std::string ExpectedAddress(const std::string& region, const City& city) {
    if (region == "United States")
        return kNwsAddress + city.latitude + "&lon=" + city.longitude + "&FcstType=json";
    return kOpenMeteoAddress + city.latitude + "&longitude=" + city.longitude + kOpenMeteoQuery;
}

TEST(CatalogueFile, IsPlainAsciiWithCrLfLineEnds) {
    const std::string& text = ShippedText();
    EXPECT_EQ(test::FirstNonAsciiByte(text), std::string::npos);
    EXPECT_EQ(test::FirstForeignLineEnd(text, "\r\n"), std::string::npos);
    EXPECT_TRUE(text.size() > 2 && text.compare(text.size() - 2, 2, "\r\n") == 0);
}

TEST(CatalogueFile, HasEveryCityInFourLinesAndClosesEveryList) {
    EXPECT_NO_THROW(Shipped());
}

TEST(CatalogueFile, HeaderCreditsGeoNames) {
    EXPECT_NE(Shipped().header.find("GeoNames"), std::string::npos) << Shipped().header;
    EXPECT_NE(Shipped().header.find("CC BY 4.0"), std::string::npos) << Shipped().header;
}

// The program shows region 13 as "United States (by List)" and adds the ZIP entry after it.
TEST(CatalogueFile, HasThirteenSortedRegionsWithTheUnitedStatesThirteenth) {
    std::vector<std::string> names;
    for (const Region& region : Shipped().regions)
        names.push_back(region.name);
    const std::vector<std::string> expected = {
        "Africa",          "Asia",           "Australia",    "Canada",        "Caribbean",
        "Central America", "Europe",         "Middle East",  "North America", "Pacific Islands",
        "South America",   "Southeast Asia", "United States"};
    EXPECT_EQ(names, expected);
}

TEST(CatalogueFile, SubRegionsAndCitiesAreSortedAndNoListIsEmpty) {
    for (const Region& region : Shipped().regions) {
        EXPECT_FALSE(region.subRegions.empty()) << region.name;
        for (size_t i = 1; i < region.subRegions.size(); ++i)
            EXPECT_LT(region.subRegions[i - 1].name, region.subRegions[i].name) << region.name;
        for (const SubRegion& subRegion : region.subRegions) {
            EXPECT_FALSE(subRegion.cities.empty()) << region.name << "|" << subRegion.name;
            for (size_t i = 1; i < subRegion.cities.size(); ++i)
                EXPECT_LT(subRegion.cities[i - 1].name, subRegion.cities[i].name)
                    << region.name << "|" << subRegion.name;
        }
    }
}

TEST(CatalogueFile, EveryKeyIsUniqueAndEveryNameIsPlain) {
    std::set<std::string> keys;
    for (const Region& region : Shipped().regions) {
        EXPECT_TRUE(IsPlainName(region.name)) << region.name;
        for (const SubRegion& subRegion : region.subRegions) {
            EXPECT_TRUE(IsPlainName(subRegion.name)) << subRegion.name;
            for (const City& city : subRegion.cities) {
                const std::string key = region.name + "|" + subRegion.name + "|" + city.name;
                EXPECT_TRUE(IsPlainName(city.name)) << key;
                EXPECT_TRUE(keys.insert(key).second) << "twice: " << key;
            }
        }
    }
}

TEST(CatalogueFile, PageAddressesUseTheRightServiceWithTheCityCoordinates) {
    for (const Region& region : Shipped().regions)
        for (const SubRegion& subRegion : region.subRegions)
            for (const City& city : subRegion.cities) {
                const std::string key = region.name + "|" + subRegion.name + "|" + city.name;
                EXPECT_TRUE(test::IsCoordinate(city.latitude, 90)) << key << ": " << city.latitude;
                EXPECT_TRUE(test::IsCoordinate(city.longitude, 180))
                    << key << ": " << city.longitude;
                EXPECT_EQ(city.address, ExpectedAddress(region.name, city)) << key;
            }
}

TEST(CatalogueFile, ListsAtLeastFourThousandCities) {
    EXPECT_GE(CityCount(), 4000u);
}

TEST(CatalogueFile, ListsEveryUsStateWithItsCapital) {
    const std::vector<std::pair<std::string, std::string>> capitals = {
        {"Alabama", "Montgomery"},
        {"Alaska", "Juneau"},
        {"Arizona", "Phoenix"},
        {"Arkansas", "Little Rock"},
        {"California", "Sacramento"},
        {"Colorado", "Denver"},
        {"Connecticut", "Hartford"},
        {"Delaware", "Dover"},
        {"District of Columbia", "Washington"},
        {"Florida", "Tallahassee"},
        {"Georgia", "Atlanta"},
        {"Hawaii", "Honolulu"},
        {"Idaho", "Boise"},
        {"Illinois", "Springfield"},
        {"Indiana", "Indianapolis"},
        {"Iowa", "Des Moines"},
        {"Kansas", "Topeka"},
        {"Kentucky", "Frankfort"},
        {"Louisiana", "Baton Rouge"},
        {"Maine", "Augusta"},
        {"Maryland", "Annapolis"},
        {"Massachusetts", "Boston"},
        {"Michigan", "Lansing"},
        {"Minnesota", "Saint Paul"},
        {"Mississippi", "Jackson"},
        {"Missouri", "Jefferson City"},
        {"Montana", "Helena"},
        {"Nebraska", "Lincoln"},
        {"Nevada", "Carson City"},
        {"New Hampshire", "Concord"},
        {"New Jersey", "Trenton"},
        {"New Mexico", "Santa Fe"},
        {"New York", "Albany"},
        {"North Carolina", "Raleigh"},
        {"North Dakota", "Bismarck"},
        {"Ohio", "Columbus"},
        {"Oklahoma", "Oklahoma City"},
        {"Oregon", "Salem"},
        {"Pennsylvania", "Harrisburg"},
        {"Rhode Island", "Providence"},
        {"South Carolina", "Columbia"},
        {"South Dakota", "Pierre"},
        {"Tennessee", "Nashville"},
        {"Texas", "Austin"},
        {"Utah", "Salt Lake City"},
        {"Vermont", "Montpelier"},
        {"Virginia", "Richmond"},
        {"Washington", "Olympia"},
        {"West Virginia", "Charleston"},
        {"Wisconsin", "Madison"},
        {"Wyoming", "Cheyenne"}};
    for (const auto& [state, capital] : capitals)
        EXPECT_TRUE(HasCity("United States", state, capital)) << state << ": " << capital;
    // The big states list their main cities, not just a handful.
    for (const char* state : {"California", "Texas", "Florida", "New York"}) {
        const SubRegion* found = FindSubRegion("United States", state);
        ASSERT_NE(found, nullptr) << state;
        EXPECT_GE(found->cities.size(), 30u) << state;
    }
    EXPECT_TRUE(HasCity("United States", "California", "Los Angeles"));
    EXPECT_TRUE(HasCity("United States", "Texas", "Houston"));
    EXPECT_TRUE(HasCity("United States", "Illinois", "Chicago"));
}

TEST(CatalogueFile, ListsCapitalsInEveryRegion) {
    const std::vector<std::vector<std::string>> keys = {
        {"Africa", "Egypt", "Cairo"},
        {"Asia", "Japan", "Tokyo"},
        {"Australia", "Australian Capital Territory", "Canberra"},
        {"Canada", "Ontario", "Ottawa"},
        {"Caribbean", "Cuba", "Havana"},
        {"Central America", "Costa Rica", "San Jose"},
        {"Europe", "France", "Paris"},
        {"Middle East", "Turkey", "Ankara"},
        {"North America", "Mexico", "Mexico City"},
        {"Pacific Islands", "New Zealand", "Wellington"},
        {"South America", "Brazil", "Brasilia"},
        {"Southeast Asia", "Vietnam", "Hanoi"},
        {"United States", "Puerto Rico", "San Juan"}};
    for (const auto& key : keys)
        EXPECT_TRUE(HasCity(key[0], key[1], key[2])) << key[0] << "|" << key[1] << "|" << key[2];
}

} // namespace
} // namespace olv
