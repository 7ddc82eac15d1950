#pragma once

#include "util/ColourText.h"

#include <QColor>
#include <cstdint>
#include <string_view>

namespace olv {

// The settings' colour texts (util/ColourText.h) where widgets need a QColor.
inline QColor ToQColor(const Rgb& colour) {
    return QColor(colour.Red, colour.Green, colour.Blue);
}

inline Rgb ToRgb(const QColor& colour) {
    return {uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue())};
}

// fallback for a text that names no colour.
inline QColor TextToQColor(std::string_view text, const QColor& fallback = Qt::black) {
    Rgb colour;
    return ColourFromText(text, colour) ? ToQColor(colour) : fallback;
}

} // namespace olv
