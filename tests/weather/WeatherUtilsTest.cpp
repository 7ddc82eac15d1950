#include "weather/WeatherUtils.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

// The conversions and wind readings that the spoken reports do not already show.
TEST(WeatherUtils, ConvertsToMetricAndReadsWind) {
    // The values that are not numbers; the metric report of the Boston example shows the rest.
    for (const char* notANumber : {"", "30,00", "1e300"})
        EXPECT_EQ(WeatherUtils::ConvertPressure(notANumber), "0") << notANumber;

    EXPECT_EQ(WeatherUtils::ConvertVisibility("0.25"), "0");
    for (const char* notANumber : {"?", "inf", "10 miles"})
        EXPECT_EQ(WeatherUtils::ConvertVisibility(notANumber), "Unknown") << notANumber;

    EXPECT_EQ(WeatherUtils::WindSpeed("Calm"), "0");
    EXPECT_DOUBLE_EQ(WeatherUtils::DirectionToDegrees("SSW at 5 mph"), 202.5);
    EXPECT_DOUBLE_EQ(WeatherUtils::DirectionToDegrees("nnw at 5 mph"), 337.5);
    EXPECT_DOUBLE_EQ(WeatherUtils::DirectionToDegrees("E at 5 mph"), 0);
}

TEST(WeatherUtils, CutsNamesAndKeys) {
    EXPECT_EQ(WeatherUtils::StripParen("Austin (Airport)"), "Austin");
    EXPECT_EQ(WeatherUtils::StripParen("(x)"), "");
}

// The order of the replacements is proven with every zone of the lookup table by the retrieval
// tests; here what they do not show.
TEST(WeatherUtils, ExpandsTimeZonesCaseSensitivelyAndDropsSome) {
    EXPECT_EQ(WeatherUtils::ExpandTimeZones("9:00 WEST, est"),
              "9:00 Western Europe Summer Time, est");
    EXPECT_EQ(WeatherUtils::ExpandTimeZones("1 PDT, 2 UYT, 3 IST"),
              "1 Pacific Daylight Time, 2 , 3 ");
}

} // namespace
} // namespace olv
