#include "settings/Variant.h"

#include "util/EConvertError.h"
#include "util/Strings.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace olv {
namespace {

bool ParseRealExactly(std::string_view text, double& number) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, number);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool RoundToInt(double number, int32_t& rounded) {
    if (!std::isfinite(number) || number < std::numeric_limits<int32_t>::min() - 0.5 ||
        number >= std::numeric_limits<int32_t>::max() + 0.5)
        return false;
    rounded = static_cast<int32_t>(std::lround(number));
    return true;
}

} // namespace

int32_t Variant::AsInt(int32_t fallback) const {
    int32_t number = fallback;
    if (const auto* i = std::get_if<int32_t>(&value_))
        return *i;
    if (const auto* b = std::get_if<bool>(&value_))
        return *b ? 1 : 0;
    if (const auto* d = std::get_if<double>(&value_))
        return RoundToInt(*d, number) ? number : fallback;
    if (const auto* s = std::get_if<std::string>(&value_))
        return ParseInt(*s, number) ? number : fallback;
    return fallback;
}

double Variant::AsReal(double fallback) const {
    double number = fallback;
    if (const auto* d = std::get_if<double>(&value_))
        return *d;
    if (const auto* i = std::get_if<int32_t>(&value_))
        return *i;
    if (const auto* b = std::get_if<bool>(&value_))
        return *b ? 1.0 : 0.0;
    if (const auto* s = std::get_if<std::string>(&value_))
        return ParseReal(*s, number) ? number : fallback;
    return fallback;
}

bool Variant::AsBool() const {
    if (const auto* b = std::get_if<bool>(&value_))
        return *b;
    if (const auto* i = std::get_if<int32_t>(&value_))
        return *i != 0;
    if (const auto* d = std::get_if<double>(&value_))
        return *d != 0.0;
    if (const auto* s = std::get_if<std::string>(&value_))
        return SameText(*s, "true");
    return false;
}

std::string Variant::AsString() const {
    if (const auto* s = std::get_if<std::string>(&value_))
        return *s;
    if (const auto* i = std::get_if<int32_t>(&value_))
        return Decimal(*i);
    if (const auto* d = std::get_if<double>(&value_))
        return FormatReal(*d);
    if (const auto* b = std::get_if<bool>(&value_))
        return *b ? "true" : "false";
    return {};
}

std::string Variant::FormatReal(double number) {
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, number);
    return ec == std::errc() ? std::string(text, end) : std::string("0");
}

bool Variant::ParseReal(std::string_view text, double& number) {
    const std::string trimmed = Trim(text);
    if (ParseRealExactly(trimmed, number))
        return true;
    // A file written under a locale with a decimal comma.
    const auto comma = trimmed.find(',');
    if (comma == std::string::npos || trimmed.find('.') != std::string::npos)
        return false;
    std::string dotted = trimmed;
    dotted[comma] = '.';
    return ParseRealExactly(dotted, number);
}

bool Variant::ParseInt(std::string_view text, int32_t& number) {
    try {
        number = Number(TrimView(text));
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

} // namespace olv
