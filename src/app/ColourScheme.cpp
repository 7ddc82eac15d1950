#include "app/ColourScheme.h"

#include "app/QtColour.h"
#include "settings/TBaseRegistryClass.h"

namespace olv {
namespace {

QColor Setting(const TBaseRegistryClass& settings, const char* name, const QColor& fallback) {
    return TextToQColor(settings.GetValue(name).AsString(), fallback);
}

// Disabled buttons show their caption half-way to their face.
QColor Between(const QColor& a, const QColor& b) {
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

} // namespace

ColourScheme ColourScheme::FromSettings(const TBaseRegistryClass& settings) {
    ColourScheme scheme;
    scheme.PanelStart = Setting(settings, "PanelColorStart", QColor(0, 0, 128));
    scheme.PanelEnd = Setting(settings, "PanelColorEnd", QColor(0, 0, 255));
    scheme.Button = Setting(settings, "ButtonColor", QColor(0, 0, 128));
    scheme.ButtonCaption = Setting(settings, "ButtonCaptionColor", Qt::yellow);
    scheme.Label = Setting(settings, "LabelColor", Qt::white);
    scheme.Value = Setting(settings, "ValueColor", Qt::yellow);
    return scheme;
}

QString ColourScheme::StyleSheet() const {
    const auto name = [](const QColor& colour) { return colour.name(); };
    return QStringLiteral(
               "#Backdrop { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
               "stop:0 %1, stop:1 %2); }\n"
               "#Backdrop QPushButton { background: %3; color: %4; border: 1px solid %4; "
               "border-radius: 4px; padding: 4px 10px; }\n"
               "#Backdrop QPushButton:hover { border-width: 2px; }\n"
               "#Backdrop QPushButton:focus { border: 2px dashed %4; }\n"
               "#Backdrop QPushButton:pressed { background: %4; color: %3; }\n"
               "#Backdrop QPushButton:disabled { color: %7; border-color: %7; }\n"
               "#Backdrop QLabel, #Backdrop QCheckBox { color: %5; }\n"
               "#Backdrop QLabel[role=\"value\"] { color: %6; font-weight: bold; }\n"
               "#Backdrop #LocationCaption { font-size: 13pt; }\n"
               "#Backdrop QPushButton#PageLink { background: transparent; color: %6; border: "
               "1px solid transparent; padding: 0; text-decoration: underline; text-align: left; "
               "}\n"
               "#Backdrop QPushButton#PageLink:focus { border: 1px dashed %6; }\n")
        .arg(name(PanelStart), name(PanelEnd), name(Button), name(ButtonCaption), name(Label),
             name(Value), name(Between(Button, ButtonCaption)));
}

} // namespace olv
