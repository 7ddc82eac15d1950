#include "util/ColourText.h"

#include "util/Strings.h"

#include <cmath>

namespace olv {
namespace {

struct NamedColour {
    const char* Name;
    uint32_t Value; // red in the low byte
};

// Names are written by the first entry of a value; the two aliases at the end are only read.
constexpr NamedColour kNamedColours[] = {
    {"clBlack", 0x000000},  {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},  {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},   {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},    {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},  {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},  {"clMedGray", 0xA4A0A0},    {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080},
};

uint32_t ValueOf(const Rgb& colour) {
    return uint32_t(colour.Red) | uint32_t(colour.Green) << 8 | uint32_t(colour.Blue) << 16;
}

Rgb RgbOf(uint32_t value) {
    return {uint8_t(value & 0xFF), uint8_t(value >> 8 & 0xFF), uint8_t(value >> 16 & 0xFF)};
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// Whole text in the given base; at most 32 bits.
bool ParseNumber(std::string_view digits, int base, uint64_t& number) {
    if (digits.empty())
        return false;
    number = 0;
    for (char c : digits) {
        const int digit = DigitValue(c);
        if (digit >= base)
            return false;
        number = number * base + digit;
        if (number > 0xFFFFFFFFu)
            return false;
    }
    return true;
}

double Linear(uint8_t channel) {
    const double value = channel / 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(const Rgb& colour) {
    return 0.2126 * Linear(colour.Red) + 0.7152 * Linear(colour.Green) +
           0.0722 * Linear(colour.Blue);
}

} // namespace

bool ColourFromText(std::string_view text, Rgb& colour) {
    text = TrimView(text);
    for (const NamedColour& named : kNamedColours) {
        if (SameText(text, named.Name)) {
            colour = RgbOf(named.Value);
            return true;
        }
    }
    uint64_t number = 0;
    const bool parsed = StartsWith(text, "$")    ? ParseNumber(text.substr(1), 16, number)
                        : StartsWith(text, "0x") ? ParseNumber(text.substr(2), 16, number)
                                                 : ParseNumber(text, 10, number);
    if (!parsed || number > 0xFFFFFF)
        return false;
    colour = RgbOf(uint32_t(number));
    return true;
}

std::string ColourToText(const Rgb& colour) {
    const uint32_t value = ValueOf(colour);
    for (const NamedColour& named : kNamedColours)
        if (named.Value == value)
            return named.Name;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "$";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += kHex[value >> shift & 0xF];
    return text;
}

double ContrastRatio(const Rgb& a, const Rgb& b) {
    const double first = Luminance(a) + 0.05;
    const double second = Luminance(b) + 0.05;
    return first > second ? first / second : second / first;
}

} // namespace olv
