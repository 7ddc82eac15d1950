#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace olv {

// A colour as the colour settings keep it ("PanelColorStart", "TrayFontColor", ...).
struct Rgb {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;

    bool operator==(const Rgb& other) const {
        return Red == other.Red && Green == other.Green && Blue == other.Blue;
    }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

// Reads a colour text: a colour name ("clNavy", "clwhite": case is ignored) or a number,
// decimal ("128") or hexadecimal after "$" ("$00004000"), whose low byte is red, the next
// green and the third blue. False for anything else, including numbers with a high byte set
// (those name the desktop's own colours, which have no fixed value).
bool ColourFromText(std::string_view text, Rgb& colour);

// The text the settings store for a colour: its name when it has one ("clYellow"), else "$"
// and eight hexadecimal digits ("$00FF0080").
std::string ColourToText(const Rgb& colour);

// How well text of one colour reads on the other: the ratio of their relative luminances
// (WCAG 2), from 1 (the same) to 21 (black on white). Below 3 is hard to read.
double ContrastRatio(const Rgb& a, const Rgb& b);

} // namespace olv
