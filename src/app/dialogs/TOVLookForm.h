#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>

class QLabel;

namespace olv {

class TBaseRegistryClass;

// "Olvenar Appearance": the colours of the main window and the font of the temperature in
// the tray icon, with six preset schemes. The choices are shown in samples and reach the
// settings object only on OK (the window writes them when it closes), which also emits
// AppearanceChanged: the window then applies its colours again and redraws the tray icon.
// Choosing "Blue Gradient (Default)" and OK writes the settings and removes the six colour
// values, so that the declared (or distributor's) defaults apply. A scheme whose text is hard
// to read on its background is allowed; the form says so.
class TOVLookForm : public QDialog {
    Q_OBJECT

public:
    // The colour items, in the column order of the schemes.
    static constexpr std::array<const char*, 6> kColourItems = {
        "PanelColorStart", "PanelColorEnd", "ButtonColor",
        "LabelColor",      "ValueColor",    "ButtonCaptionColor"};
    static constexpr int kSchemeCount = 6;
    static constexpr int kDefaultScheme = 5;

    explicit TOVLookForm(TBaseRegistryClass& settings, QWidget* parent = nullptr);

    // The colour and font choosers: the standard dialogs; tests answer in their place.
    // Each returns nothing when the user cancels.
    std::function<std::optional<QColor>(QWidget* parent, const QColor& initial,
                                        const QString& title)>
        PickColour;
    std::function<std::optional<QFont>(QWidget* parent, const QFont& initial)> PickFont;

    void ApplyScheme(int scheme);
    // "Change" for colour item i, and for the tray font and its colour.
    void ChangeColour(int item);
    void ChangeTrayFont();
    void ChangeTrayFontColour();

    // What OK would store: the colour texts in kColourItems order, and the tray font.
    const std::array<std::string, 6>& Colours() const { return colours_; }
    const std::string& TrayFontName() const { return trayFontName_; }
    int TrayFontSize() const { return trayFontSize_; }
    const std::string& TrayFontColor() const { return trayFontColor_; }
    // Which text is hard to read, or empty.
    QString ReadabilityWarning() const;

signals:
    void AppearanceChanged();

private:
    void Refresh();
    void Ok();
    std::string DefaultTextOf(const char* item) const;

    TBaseRegistryClass& settings_;
    std::array<std::string, 6> colours_;
    std::string trayFontName_;
    int trayFontSize_ = 0;
    std::string trayFontColor_;
    bool defaultScheme_ = false;

    std::array<QLabel*, 6> samples_{};
    QLabel* trayFontSample_ = nullptr;
    QLabel* trayFontText_ = nullptr;
    QLabel* warningLabel_ = nullptr;
};

} // namespace olv
