#pragma once

#include <QColor>
#include <string>
#include <string_view>

namespace olv {

// Colours as the settings hold them: a toolkit colour name ("clNavy", "clwhite"; case is
// ignored) or a number, decimal or hexadecimal after "$", whose low byte is red, the next
// green and the third blue ("128" is dark red, "$00004000" dark green).
//
// fallback is returned for a text that is neither.
QColor TextToColour(std::string_view text, const QColor& fallback = Qt::black);
// The colour's name when it has one, else "$" and eight hexadecimal digits.
std::string ColourToText(const QColor& colour);

} // namespace olv
