#pragma once

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QObject;

namespace olv {

// The main window's menus. Every command of the window has an entry here, with its shortcut;
// no two entries of one menu share an Alt letter. "&Auto Read Settings" is disabled until the
// scheduled reading's dialogs are plugged in.
struct MainMenus {
    explicit MainMenus(QMenuBar& bar);

    // File
    QAction* UpdateCurrent;
    QAction* UpdateAll;
    QMenu* SelectMyCity;
    QAction* ViewPage;
    QAction* SummaryToFile;
    QAction* ForecastToFile;
    QAction* DisplayWindow;
    QAction* Exit;
    // Read
    QAction* CurrentConditions;
    QAction* CurrentForecast;
    QAction* ConditionsAndForecast;
    QAction* MyCitiesSummary;
    QMenu* MyCitiesConditions;
    QMenu* MyCitiesForecast;
    // Speech
    QAction* ForecastAndConditions;
    QAction* StartRandomRead;
    QAction* JustForFun;
    QAction* PauseResume;
    QAction* Stop;
    QAction* VoiceOptions;
    QAction* SelectAudioDevice;
    // View
    QAction* NormalWindow;
    QAction* MyCitiesView;
    QAction* GlobalLocations;
    QActionGroup* Views;
    // Options
    QAction* Preferences;
    QAction* Appearance;
    QAction* DefaultReadOptions;
    QAction* SummaryReadOptions;
    QAction* EditIntroPhrases;
    QAction* AutoReadSettings;
    QAction* CheckForUpgrade;
    QAction* TellAFriend;
    // Help
    QAction* HelpContents;
    QMenu* AudioHelp;
    QAction* QuickStartGuide;
    QAction* TipOfTheDay;
    QAction* Support;
    QAction* VisitHome;
    QAction* WeatherData;
};

} // namespace olv
