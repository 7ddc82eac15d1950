#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <string>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace olv {

class TBaseRegistryClass;

// The notification-area icon: the current temperature drawn into a 32 x 32 picture, the tip
// with the city's weather, and the tray menu. Where the desktop has no notification area the
// icon is simply not shown (the window's own menus hold the same commands).
class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kSize = 32;
    static constexpr int kMaxTip = 63;
    static constexpr int kDefaultFontSize = 20;

    struct Actions {
        QAction* DisplayWindow;
        QAction* StopReading;
        QAction* ReadConditions;
        QAction* ReadForecast;
        QMenu* MyCityConditions;
        QMenu* MyCityForecast;
        QAction* VisitHome;
        QAction* Exit;
    };

    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    const Actions& Action() const { return actions_; }
    QMenu& Menu() const { return *menu_; }

    // "45" + degree sign, or "??" + degree sign when there is no temperature.
    static std::string IconText(const std::string& temperature);
    // White background (transparent in the icon), the text at the top left in the font and
    // colour of the settings "TrayFontName", "TrayFontSize" and "TrayFontColor"; a font too
    // big for the picture is made smaller until the text fits.
    static QImage Picture(const std::string& text, const TBaseRegistryClass& settings);

    // Draws and sets the icon (and logs what it drew).
    void Draw(const std::string& text, const TBaseRegistryClass& settings);
    // Cut to 63 characters.
    void SetTip(const std::string& tip);
    std::string Tip() const { return tip_; }
    QImage Picture() const { return picture_; }

    void Show();
    void Hide();
    bool IsShown() const;
    // Whether the desktop has a notification area to show it in.
    static bool Available();

signals:
    void RestoreRequested();
    // A left click: show or hide the hint window at the mouse position.
    void HintRequested(const QPoint& at);

private:
    QMenu* menu_;
    QSystemTrayIcon* icon_;
    Actions actions_{};
    std::string tip_;
    QImage picture_;
};

} // namespace olv
