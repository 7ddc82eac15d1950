// The shipped city catalogue, read the way the program reads it.

#include "data/ShippedFile.h"
#include "platform/Files.h"
#include "util/Strings.h"
#include "weather/LocationListClass.h"

#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace olv {
namespace {

const std::string kCatalogue = OLVENAR_DATA_DIR "/OVDef.chl";

// A name the lists can show and the keys can carry.
bool IsPlainName(const std::string& name) {
    return test::IsPlainText(name) && name != "Up" && name.find(" (") == std::string::npos;
}

// The National Weather Service in the United States, Open-Meteo elsewhere, each for the
// coordinates of the city and with the values the retrieval script reads.
bool IsServiceAddress(const LocItemClass& city) {
    const bool us = city.Region() == "United States";
    const std::string head = us ? "https://forecast.weather.gov/MapClick.php?lat="
                                : "https://api.open-meteo.com/v1/forecast?latitude=";
    const std::string middle = us ? "&lon=" : "&longitude=";
    const std::string tail =
        us ? "&FcstType=json"
           : "&current=temperature_2m,relative_humidity_2m,dew_point_2m,weather_code,"
             "pressure_msl,wind_speed_10m,wind_direction_10m,visibility"
             "&daily=weather_code,temperature_2m_max,temperature_2m_min"
             "&temperature_unit=fahrenheit&wind_speed_unit=mph&timezone=auto&forecast_days=7";
    if (!StartsWith(city.URL, head) || !EndsWith(city.URL, tail))
        return false;
    const std::string coordinates =
        city.URL.substr(head.size(), city.URL.size() - head.size() - tail.size());
    const size_t split = coordinates.find(middle);
    return split != std::string::npos && test::IsCoordinate(coordinates.substr(0, split), 90) &&
           test::IsCoordinate(coordinates.substr(split + middle.size()), 180);
}

// The window shows the thirteenth region as "United States (by List)" and the ZIP entry after.
TEST(CatalogueFile, ShowsTheUnitedStatesWhereTheWindowLooksAndCreditsGeoNames) {
    std::vector<std::string> regions;
    LocationListClass(kCatalogue).FillRegions(regions);
    EXPECT_EQ(regions,
              (std::vector<std::string>{"Africa", "Asia", "Australia", "Canada", "Caribbean",
                                        "Central America", "Europe", "Middle East", "North America",
                                        "Pacific Islands", "South America", "Southeast Asia",
                                        "United States (by List)", "United States (by Zip Code)"}));
    const std::string header = SplitLines(test::ReadShippedFile("OVDef.chl")).front();
    EXPECT_NE(header.find("GeoNames"), std::string::npos) << header;
    EXPECT_NE(header.find("CC BY 4.0"), std::string::npos) << header;
}

TEST(CatalogueFile, EveryCityHasAUniquePlainKeyAndItsServiceAddress) {
    const std::vector<LocItemClass> cities = LocationListClass(kCatalogue).ReadItems();
    std::set<std::string> keys;
    std::map<std::string, size_t> perState; // cities by "Region|State"
    for (const LocItemClass& city : cities) {
        EXPECT_TRUE(IsPlainName(city.Region()) && IsPlainName(city.State()) &&
                    IsPlainName(city.Name))
            << city.Key;
        EXPECT_TRUE(keys.insert(city.Key).second) << "twice: " << city.Key;
        EXPECT_TRUE(IsServiceAddress(city)) << city.Key << ": " << city.URL;
        ++perState[city.Region() + "|" + city.State()];
    }
    // Every city has its four lines and every list its closing "Up": nothing is read amiss.
    const size_t regions = 13;
    EXPECT_EQ(SplitLines(test::ReadShippedFile("OVDef.chl")).size(),
              1 + 2 * regions + 2 * perState.size() + 4 * cities.size() + 1);

    EXPECT_GE(cities.size(), 4000u);
    for (const char* key :
         {"United States|Massachusetts|Boston", "United States|Alaska|Juneau",
          "United States|District of Columbia|Washington", "United States|Puerto Rico|San Juan",
          "Asia|Japan|Tokyo", "Europe|France|Paris", "Canada|Ontario|Ottawa",
          "Australia|Australian Capital Territory|Canberra", "South America|Brazil|Brasilia"})
        EXPECT_TRUE(keys.count(key)) << key;
    // Every state and the District of Columbia, and the territories (the last region in order).
    EXPECT_GE(std::distance(perState.lower_bound("United States|"), perState.end()), 51);
    // The big states list their main cities, not just a handful.
    for (const char* state : {"California", "Texas", "Florida", "New York"})
        EXPECT_GE(perState[std::string("United States|") + state], 30u) << state;
}

} // namespace
} // namespace olv
