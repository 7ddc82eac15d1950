#include "weather/WeatherUtils.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

// The conversions and wind readings that the spoken reports do not already show.
TEST(WeatherUtils, ConvertsToMetricAndReadsWind) {
    EXPECT_EQ(WeatherUtils::FahrenheitToCelsius(32), 0);
    EXPECT_EQ(WeatherUtils::FahrenheitToCelsius(-40), -40);
    EXPECT_EQ(WeatherUtils::FahrenheitToCelsius(45), 7);

    EXPECT_EQ(WeatherUtils::ConvertPressure("30.12"), "1020");
    EXPECT_EQ(WeatherUtils::ConvertPressure(" 29.92 "), "1013");
    for (const char* notANumber : {"", "30,00", "1e300"})
        EXPECT_EQ(WeatherUtils::ConvertPressure(notANumber), "0") << notANumber;

    EXPECT_EQ(WeatherUtils::ConvertVisibility("0.25"), "0");
    EXPECT_EQ(WeatherUtils::ConvertVisibility("2.5"), "4");
    for (const char* notANumber : {"?", "inf", "10 miles"})
        EXPECT_EQ(WeatherUtils::ConvertVisibility(notANumber), "Unknown") << notANumber;

    EXPECT_EQ(WeatherUtils::WindSpeed("From the NW at 10 mph"), "10");
    EXPECT_EQ(WeatherUtils::WindSpeed("NW at 10"), "10");
    EXPECT_EQ(WeatherUtils::WindSpeed("Calm"), "0");
    EXPECT_DOUBLE_EQ(WeatherUtils::DirectionToDegrees("SSW at 5 mph"), 202.5);
    EXPECT_DOUBLE_EQ(WeatherUtils::DirectionToDegrees("nnw at 5 mph"), 337.5);
    EXPECT_DOUBLE_EQ(WeatherUtils::DirectionToDegrees("West at 5 mph"), 270);
    EXPECT_DOUBLE_EQ(WeatherUtils::DirectionToDegrees("E at 5 mph"), 0);
    EXPECT_DOUBLE_EQ(WeatherUtils::DirectionToDegrees("Calm"), 0);
}

TEST(WeatherUtils, CutsNamesAndKeys) {
    EXPECT_EQ(WeatherUtils::StripParen("Austin (Airport)"), "Austin");
    EXPECT_EQ(WeatherUtils::StripParen("Austin"), "Austin");
    EXPECT_EQ(WeatherUtils::StripParen("(x)"), "");
    EXPECT_EQ(WeatherUtils::AfterLastBar("Asia|Japan|Tokyo"), "Tokyo");
    EXPECT_EQ(WeatherUtils::AfterLastBar("ZIP:90210"), "ZIP:90210");
}

TEST(WeatherUtils, TimeCodesRoundDownToFiveMinutes) {
    EXPECT_EQ(WeatherUtils::TimeCode(14, 37), 1435);
    EXPECT_EQ(WeatherUtils::TimeCode(0, 4), 0);
    EXPECT_EQ(WeatherUtils::TimeCode(23, 55), 2355);
    const int now = WeatherUtils::TimeCodeNow();
    EXPECT_EQ(now % 5, 0);
    EXPECT_LT(now % 100, 60);
    EXPECT_LT(now, 2400);
}

TEST(WeatherUtils, ExpandsTimeZonesInOrder) {
    // "WEST" is replaced before "EST" could take its tail, "AEST" before "EST" could turn it
    // into "AEastern ...".
    EXPECT_EQ(WeatherUtils::ExpandTimeZones("9:00 WEST"), "9:00 Western Europe Summer Time");
    EXPECT_EQ(WeatherUtils::ExpandTimeZones("AEST"), "Australian Eastern Standard Time");
    // Longer names that hold no earlier abbreviation keep their own spoken name.
    EXPECT_EQ(WeatherUtils::ExpandTimeZones("CEST"), "Central Europe Summer Time");
    EXPECT_EQ(WeatherUtils::ExpandTimeZones("AKST"), "Alaska Standard Time");
    // Matching is case-sensitive; some zones are dropped.
    EXPECT_EQ(WeatherUtils::ExpandTimeZones("est"), "est");
    EXPECT_EQ(WeatherUtils::ExpandTimeZones("1 PDT, 2 UYT"), "1 Pacific Daylight Time, 2 ");
}

} // namespace
} // namespace olv
