#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace olv {

// Small conversions of weather text shared by the city record, the reports and the window.
// Numbers in weather texts always use "." as the decimal separator, whatever the locale.
class WeatherUtils {
public:
    // "Austin (Airport)" -> "Austin": the text before the blank that precedes the first "(".
    static std::string StripParen(std::string_view s);
    // The text before the first "<", or s when it holds none.
    static std::string CutAtTag(std::string_view s);

    static int FahrenheitToCelsius(int fahrenheit);
    // Inches of mercury to whole hectopascals; "0" when s is not a number.
    static std::string ConvertPressure(std::string_view s);
    // Miles to whole kilometres (also used for miles per hour); "Unknown" when s is not a number.
    static std::string ConvertVisibility(std::string_view s);

    // "NW at 10 mph" -> "10"; "0" without "at"; "?" for a speed of "N/A".
    static std::string WindSpeed(std::string_view s);
    // The text up to the first blank, trimmed; empty when s holds no blank.
    static std::string FirstWord(std::string_view s);
    // Compass bearing of the first word ("nne" 22.5 ...); 0 for anything else.
    static double DirectionToDegrees(std::string_view s);

    // hour * 100 + minute rounded down to a multiple of five (14:37 -> 1435).
    static int TimeCode(int hour, int minute);
    // TimeCode of the local time now.
    static int TimeCodeNow();

    // A location key split at its first "|"; without a "|" the first part is empty and the
    // second is the whole text.
    static std::pair<std::string_view, std::string_view> SplitAtBar(std::string_view s);
    // The text before the first "|".
    static std::string FirstField(std::string_view s);
    // The text between the first and the second "|".
    static std::string SecondField(std::string_view s);
    // Everything after the second "|".
    static std::string ThirdField(std::string_view s);
    // The text after the last "|" (all of s when it holds none).
    static std::string AfterLastBar(std::string_view s);

    // Time-zone abbreviations replaced by their spoken names ("EST" -> "Eastern Standard Time").
    static std::string ExpandTimeZones(std::string_view s);

    // s read as a decimal number with "." as separator; false when it is not a finite number.
    static bool ReadNumber(std::string_view s, double& value);
};

} // namespace olv
