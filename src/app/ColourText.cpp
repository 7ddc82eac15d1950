#include "app/ColourText.h"

#include "util/Strings.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace olv {
namespace {

// Values are 0x00BBGGRR. The first name of a value is the one written back.
constexpr std::array<std::pair<const char*, uint32_t>, 22> kNamedColours{{
    {"clBlack", 0x000000},  {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},  {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},   {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},    {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},  {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},  {"clMedGray", 0xA4A0A0},    {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080},
}};

QColor FromBgr(uint32_t value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

uint32_t ToBgr(const QColor& colour) {
    return uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16;
}

bool ParseNumber(const std::string& text, uint32_t& value) {
    const bool hex = StartsWith(text, "$") || StartsWith(LowerCase(text), "0x");
    const char* digits = text.c_str() + (StartsWith(text, "$") ? 1 : 0);
    if (!*digits)
        return false;
    char* end = nullptr;
    const unsigned long long number = std::strtoull(digits, &end, hex ? 16 : 10);
    if (*end != '\0' || number > 0xFFFFFFFFull)
        return false;
    value = uint32_t(number);
    return true;
}

} // namespace

QColor TextToColour(std::string_view text, const QColor& fallback) {
    const std::string trimmed = Trim(text);
    for (const auto& [name, value] : kNamedColours)
        if (SameText(trimmed, name))
            return FromBgr(value);
    uint32_t value = 0;
    // Negative numbers and high bytes are the toolkit's system colours: none here.
    if (!ParseNumber(trimmed, value) || value > 0xFFFFFF)
        return fallback;
    return FromBgr(value);
}

std::string ColourToText(const QColor& colour) {
    const uint32_t value = ToBgr(colour);
    for (const auto& [name, named] : kNamedColours)
        if (named == value)
            return name;
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", unsigned(value));
    return text;
}

} // namespace olv
