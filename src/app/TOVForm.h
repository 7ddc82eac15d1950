#pragma once

#include "app/CitySession.h"
#include "app/CityViews.h"
#include "app/GaugeAnimation.h"
#include "app/MainMenus.h"
#include "app/ReadingCommands.h"
#include "app/ScheduleBridge.h"
#include "app/StartUp.h"
#include "app/UpdateHook.h"
#include "app/WindowViews.h"
#include "report/IntroClass.h"
#include "report/TalkDataClass.h"
#include "settings/OlvenarRegistryClass.h"
#include "speech/TBaseTTS.h"

#include <QMainWindow>
#include <QPointer>
#include <QSplashScreen>
#include <memory>
#include <vector>

class QLabel;
class QTimer;

namespace olv {

class DialogCommands;
class DropDownStrip;
class GlobalArea;
class MainPanel;
class MyCitiesArea;
class THintForm;
class TrayIcon;
class TipOfTheDay;
class TTipForm;
class WindowCommands;

// The main window, "Olvenar". It owns the services (settings, speech controller, reading
// options, lead-in phrases, cities, the scheduled reading) and the areas of the window, and
// connects them; the work is done by the areas and by CitySession and ReadingCommands.
//
// Scheduled reading (ScheduleBridge) ticks with the 20-second AutoReadTimer, follows the end of
// speech and Stop, and runs Update All.
//
// The dialogs are opened by DialogCommands, which calls AfterPreferences() / AfterAppearance()
// when they close with OK.
//
// The update check (the program's own is plugged in at creation, SetUpdateCheck() replaces it):
// "&Check For Upgrade" runs it, every Update All runs it first (the once-a-day check decides for
// itself whether it is due), and so does the first showing while the first-time marker is set.
// The command is disabled while a check runs; Exit cancels one.
class TOVForm final : public QMainWindow, private CityViews {
    Q_OBJECT
public:
    static constexpr int kIdleMs = 60000;
    static constexpr int kAutoReadMs = 20000;
    static constexpr int kHintDelayMs = 500;

    // clock: the clock of scheduled reading (null: the computer's). Messages go through the
    // current Prompter.
    explicit TOVForm(StartSwitch start = StartSwitch::None, const WallClock* clock = nullptr);
    ~TOVForm() override;

    void SetSplash(QSplashScreen* splash) { splash_ = splash; }
    void SetUpdateCheck(std::unique_ptr<UpdateCheck> check);

    // Back from the tray or the task bar, in front.
    void Restore();
    // The "&Exit" command: saves, stops retrieval and speech, ends the program.
    void Exit();
    void SetView(WindowView view);
    WindowView View() const;
    void ShowTipOfTheDay();
    // After the preferences dialog: tray icon, units and the city shown again.
    void AfterPreferences();
    // After the appearance dialog: colours and tray icon again.
    void AfterAppearance();
    // A left click on the tray icon: the hint window shows after a moment, or closes.
    void ToggleHint(const QPoint& at);
    void ShowStatusText(const std::string& text) { ShowStatus(text); }

    OlvenarRegistryClass& Settings() { return settings_; }
    TBaseTTS& Speech() { return speech_; }
    CitySession& Cities() { return cities_; }
    ReadingCommands& Readings() { return readings_; }
    ScheduleBridge& Schedule() { return scheduleBridge_; }
    TalkDataClass& DefaultTalkData() { return defaultTalkData_; }
    IntroClass& Intro() { return intro_; }
    DialogCommands& Dialogs() const { return *dialogs_; }
    MainPanel& Panel() const { return *panel_; }
    DropDownStrip& Strip() const { return *strip_; }
    MyCitiesArea& MyCitiesView() const { return *myCitiesArea_; }
    GlobalArea& GlobalView() const { return *globalArea_; }
    TrayIcon& Tray() const { return *tray_; }
    const MainMenus& Menus() const { return *menus_; }
    THintForm* Hint() const;
    TTipForm* Tip() const;
    const GaugeAnimation& Animation() const { return animation_; }
    QString StatusText() const;
    QTimer& AutoReadTimer() const { return *autoReadTimer_; }

signals:
    // Every text of the status line, in turn.
    void StatusChanged(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // CityViews
    void ShowCity(const CityDataClass& city) override;
    void SelectCity(int myCityIndex, const std::string& recentKey) override;
    void MyCitiesChanged() override;
    void ShowStatus(const std::string& text) override;

    void BuildWindow();
    void ConnectSpeech();
    void StartTimers();
    void ConnectScheduledReading();
    void OpenAutoReadSettings();
    void FirstShow();
    void ConnectDialogs();
    void RunUpdateCheck(UpdateOccasion occasion);
    void ApplyStartSwitch();
    void ApplyView();
    void ApplyColours();
    void ApplyUnits();
    void DrawTrayIcon();
    void ShowTrayIconBySetting();
    void ShowHint();
    void SaveState();
    void Shutdown();
    void MinimiseToTray();
    double DotsPerInch() const;

    StartSwitch start_;
    OlvenarRegistryClass settings_;
    TBaseTTS speech_;
    TalkDataClass defaultTalkData_;
    IntroClass intro_;
    CitySession cities_;
    ReadingCommands readings_;
    ScheduleBridge scheduleBridge_;
    std::unique_ptr<UpdateCheck> updateCheck_;
    bool updateRunning_ = false;
    std::unique_ptr<DialogCommands> dialogs_;
    GaugeAnimation animation_;
    std::unique_ptr<TipOfTheDay> tips_;

    // A child object: it goes after the speech controller, which switches its controls.
    WindowCommands* commands_ = nullptr;
    MainPanel* panel_ = nullptr;
    DropDownStrip* strip_ = nullptr;
    MyCitiesArea* myCitiesArea_ = nullptr;
    GlobalArea* globalArea_ = nullptr;
    QLabel* status_ = nullptr;
    TrayIcon* tray_ = nullptr;
    std::unique_ptr<MainMenus> menus_;
    std::unique_ptr<THintForm> hint_; // a window of its own, made when first wanted
    QPointer<TTipForm> tip_;
    QPointer<QSplashScreen> splash_;
    QTimer* animateTimer_ = nullptr;
    QTimer* appIdleTimer_ = nullptr;
    QTimer* autoReadTimer_ = nullptr;
    QTimer* hintTimer_ = nullptr;
    QPoint hintAt_;
    bool shown_ = false;
    bool minimizedOnce_ = false;
    bool shutDown_ = false;
};

} // namespace olv
