#include "weather/WeatherUtils.h"

#include "util/Strings.h"
#include "util/UtilsClass.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>

namespace olv {
namespace {

struct Bearing {
    std::string_view word;
    double degrees;
};

// The single letters "n", "e", "s" and "w" are deliberately absent: they give 0.
constexpr std::array<Bearing, 16> kCompass{{{"north", 0},
                                            {"nne", 22.5},
                                            {"ne", 45},
                                            {"ene", 67.5},
                                            {"east", 90},
                                            {"ese", 112.5},
                                            {"se", 135},
                                            {"sse", 157.5},
                                            {"south", 180},
                                            {"ssw", 202.5},
                                            {"sw", 225},
                                            {"wsw", 247.5},
                                            {"west", 270},
                                            {"wnw", 292.5},
                                            {"nw", 315},
                                            {"nnw", 337.5}}};

struct ZoneName {
    std::string_view abbreviation;
    std::string_view spoken;
};

// Applied one after the other in this order; later steps see the output of earlier ones, so
// the order matters ("WEST" must go before "EST", the longer "AKST" after "AST" and so on).
constexpr std::array<ZoneName, 37> kTimeZones{{
    {"AEST", "Australian Eastern Standard Time"},
    {"CDT", "Central Daylight Time"},
    {"UTC", "U T C "},
    {"MDT", "Mountain Daylight Time"},
    {"PDT", "Pacific Daylight Time"},
    {"MST", "Mountain Standard Time"},
    {"GMT", "Greenwich Mean Time"},
    {"BST", "British Summer Time"},
    {"IST", ""},
    {"WET", "Western Europe Time"},
    {"WEST", "Western Europe Summer Time"},
    {"CET", "Central Europe Time"},
    {"CEST", "Central Europe Summer Time"},
    {"EET", "Eastern Europe Time"},
    {"EEST", "Eastern Europe Summer Time"},
    {"MSK", "Moscow Time"},
    {"MSD", "Moscow Summer Time"},
    {"AST", "Atlantic Standard Time"},
    {"ADT", "Atlantic Daylight Time"},
    {"EST", "Eastern Standard Time"},
    {"EDT", "Eastern Daylight Saving Time"},
    {"CST", "Central Standard Time"},
    {"MST", "Mountain Standard Time"},
    {"PST", "Pacific Standard Time"},
    {"HST", "Hawaiian Standard Time"},
    {"AKST", "Alaska Standard Time"},
    {"AKDT", "Alaska Standard Daylight Saving Time"},
    {"WST", "Western Standard Time"},
    {"JST", "Japan Standard Time"},
    {"UYT", ""},
    {"JAYT", "Jayapura Time"},
    {"NDT", "Newfoundland Daylight Time"},
    {"NST", "Newfoundland Standard Time"},
    {"AQTS", "Aqtobe Standard Time"},
    {"MYT", "Malaysia Standard Time"},
    {"ALMS", "Alma-Ata Standard Time"},
    {"PET", "Peru Eastern Time"},
}};

// Larger results cannot be written as whole numbers; they are treated as not a number.
constexpr double kLargestWholeNumber = 1e15;

bool RoundToWhole(double value, long long& whole) {
    const double rounded = std::nearbyint(value); // halves go to the even neighbour
    if (!std::isfinite(rounded) || std::fabs(rounded) > kLargestWholeNumber)
        return false;
    whole = static_cast<long long>(rounded);
    return true;
}

} // namespace

bool WeatherUtils::ReadNumber(std::string_view s, double& value) {
    std::string_view digits = TrimView(s);
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    if (digits.empty())
        return false;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

std::string WeatherUtils::StripParen(std::string_view s) {
    const int64_t paren = Find("(", s);
    return paren == 0 ? std::string(s) : Substring(s, 1, paren - 2);
}

std::string WeatherUtils::CutAtTag(std::string_view s) {
    const int64_t tag = Find("<", s);
    return tag == 0 ? std::string(s) : Substring(s, 1, tag - 1);
}

int WeatherUtils::FahrenheitToCelsius(int fahrenheit) {
    const int scaled = (fahrenheit - 32) * 5;
    const float celsius = static_cast<float>(scaled) / 9.0f;
    return static_cast<int>(std::nearbyint(celsius));
}

std::string WeatherUtils::ConvertPressure(std::string_view s) {
    double inches = 0;
    if (!ReadNumber(s, inches))
        return "0";
    const float single = static_cast<float>(inches);
    const float hectopascals = static_cast<float>(static_cast<double>(single) / 0.02953);
    long long whole = 0;
    return RoundToWhole(hectopascals, whole) ? Decimal(whole) : "0";
}

std::string WeatherUtils::ConvertVisibility(std::string_view s) {
    double miles = 0;
    long long whole = 0;
    if (!ReadNumber(s, miles) || !RoundToWhole(miles * 1.61, whole))
        return "Unknown";
    return Decimal(whole);
}

std::string WeatherUtils::WindSpeed(std::string_view s) {
    const int64_t at = Find("at", s);
    if (at == 0)
        return "0";
    std::string_view speed = SubstringView(s, at + 3, kMax);
    const int64_t blank = Find(" ", speed);
    if (blank > 0)
        speed = SubstringView(speed, 1, blank);
    speed = TrimView(speed);
    return speed == "N/A" ? "?" : std::string(speed);
}

std::string WeatherUtils::FirstWord(std::string_view s) {
    const int64_t blank = Find(" ", s);
    return blank == 0 ? std::string() : Trim(SubstringView(s, 1, blank));
}

double WeatherUtils::DirectionToDegrees(std::string_view s) {
    const std::string word = LowerCase(FirstWord(s));
    for (const Bearing& bearing : kCompass)
        if (bearing.word == word)
            return bearing.degrees;
    return 0;
}

int WeatherUtils::TimeCode(int hour, int minute) {
    return hour * 100 + minute - minute % 5;
}

int WeatherUtils::TimeCodeNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return TimeCode(local.tm_hour, local.tm_min);
}

std::pair<std::string_view, std::string_view> WeatherUtils::SplitAtBar(std::string_view s) {
    const size_t bar = s.find('|');
    if (bar == std::string_view::npos)
        return {std::string_view(), s};
    return {s.substr(0, bar), s.substr(bar + 1)};
}

std::string WeatherUtils::FirstField(std::string_view s) {
    return std::string(SplitAtBar(s).first);
}

std::string WeatherUtils::SecondField(std::string_view s) {
    return std::string(SplitAtBar(SplitAtBar(s).second).first);
}

std::string WeatherUtils::ThirdField(std::string_view s) {
    return std::string(SplitAtBar(SplitAtBar(s).second).second);
}

std::string WeatherUtils::AfterLastBar(std::string_view s) {
    const size_t bar = s.rfind('|');
    return std::string(bar == std::string_view::npos ? s : s.substr(bar + 1));
}

std::string WeatherUtils::ExpandTimeZones(std::string_view s) {
    std::string text(s);
    for (const ZoneName& zone : kTimeZones)
        text = UtilsClass::ReplaceAll(text, zone.abbreviation, zone.spoken);
    return text;
}

} // namespace olv
