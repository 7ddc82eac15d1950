#pragma once

#include <QColor>
#include <QString>

namespace olv {

class TBaseRegistryClass;

// The window's colours from the settings "PanelColorStart", "PanelColorEnd", "ButtonColor",
// "ButtonCaptionColor", "LabelColor" and "ValueColor", as a style sheet for the window: a
// gradient behind the panels, button faces and captions, the captions of the values and the
// values. Lists, fields and the forecast box keep the desktop's own colours.
struct ColourScheme {
    QColor PanelStart;
    QColor PanelEnd;
    QColor Button;
    QColor ButtonCaption;
    QColor Label;
    QColor Value;

    static ColourScheme FromSettings(const TBaseRegistryClass& settings);
    QString StyleSheet() const;
};

} // namespace olv
