#include "app/MainMenus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace olv {
namespace {

QAction* Entry(QMenu* menu, const QString& caption, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setShortcut(shortcut);
    return action;
}

QAction* Disabled(QAction* action) {
    action->setEnabled(false);
    return action;
}

} // namespace

MainMenus::MainMenus(QMenuBar& bar) {
    QMenu* file = bar.addMenu(QStringLiteral("&File"));
    UpdateCurrent = Entry(file, QStringLiteral("&Update Current"), QKeySequence("Ctrl+U"));
    UpdateAll = Entry(file, QStringLiteral("Update &All"), QKeySequence("Ctrl+L"));
    SelectMyCity = file->addMenu(QStringLiteral("Select &MyCity"));
    ViewPage =
        Entry(file, QStringLiteral("&View Page for Current Location"), QKeySequence("Ctrl+P"));
    file->addSeparator();
    SummaryToFile = Entry(file, QStringLiteral("MyCities Summary To File"));
    ForecastToFile = Entry(file, QStringLiteral("Current Forecast To File"));
    file->addSeparator();
    DisplayWindow = Entry(file, QStringLiteral("&Display Window"));
    Exit = Entry(file, QStringLiteral("&Exit"));

    QMenu* read = bar.addMenu(QStringLiteral("&Read"));
    CurrentConditions = Entry(read, QStringLiteral("Current &Conditions"), QKeySequence("Ctrl+W"));
    CurrentForecast = Entry(read, QStringLiteral("Current &Forecast"), QKeySequence("Ctrl+F"));
    ConditionsAndForecast =
        Entry(read, QStringLiteral("Current Conditions &And Forecast"), QKeySequence("Ctrl+J"));
    MyCitiesSummary = Entry(read, QStringLiteral("MyCities &Summary"), QKeySequence("Ctrl+E"));
    read->addSeparator();
    MyCitiesConditions = read->addMenu(QStringLiteral("&MyCities Conditions"));
    MyCitiesForecast = read->addMenu(QStringLiteral("M&yCities Forecast"));

    QMenu* speech = bar.addMenu(QStringLiteral("&Speech"));
    ForecastAndConditions =
        Entry(speech, QStringLiteral("Forecast &And Conditions"), QKeySequence("Ctrl+B"));
    StartRandomRead = Entry(speech, QStringLiteral("Start &Random Read"), QKeySequence("Ctrl+Q"));
    JustForFun = Entry(speech, QStringLiteral("&Just For Fun"));
    speech->addSeparator();
    PauseResume = Entry(speech, QStringLiteral("&Pause/Resume"), QKeySequence("Ctrl+R"));
    Stop = Entry(speech, QStringLiteral("&Stop"), QKeySequence("Ctrl+S"));
    speech->addSeparator();
    VoiceOptions = Entry(speech, QStringLiteral("&Voice Options"));
    SelectAudioDevice = Entry(speech, QStringLiteral("S&elect Audio Device"));

    QMenu* view = bar.addMenu(QStringLiteral("&View"));
    NormalWindow = Entry(view, QStringLiteral("&Normal Window"), QKeySequence("Ctrl+N"));
    MyCitiesView = Entry(view, QStringLiteral("&MyCities Summary"), QKeySequence("Ctrl+M"));
    GlobalLocations = Entry(view, QStringLiteral("&Global Locations"), QKeySequence("Ctrl+G"));
    Views = new QActionGroup(view);
    for (QAction* action : {NormalWindow, MyCitiesView, GlobalLocations}) {
        action->setCheckable(true);
        Views->addAction(action);
    }

    QMenu* options = bar.addMenu(QStringLiteral("&Options"));
    Preferences = Entry(options, QStringLiteral("&Olvenar Preferences"));
    Appearance = Entry(options, QStringLiteral("Olvenar Appea&rance"));
    DefaultReadOptions = Entry(options, QStringLiteral("&Default Read Options"));
    SummaryReadOptions = Entry(options, QStringLiteral("&Summary Read Options"));
    EditIntroPhrases = Entry(options, QStringLiteral("&Edit Intro Phrases"));
    AutoReadSettings = Disabled(Entry(options, QStringLiteral("&Auto Read Settings")));
    CheckForUpgrade = Entry(options, QStringLiteral("&Check For Upgrade"));
    TellAFriend = Entry(options, QStringLiteral("&Tell A Friend"));

    QMenu* help = bar.addMenu(QStringLiteral("&Help"));
    HelpContents = Entry(help, QStringLiteral("&Help Contents"), QKeySequence::HelpContents);
    AudioHelp = help->addMenu(QStringLiteral("&Audio Help"));
    QuickStartGuide = Entry(help, QStringLiteral("&Quick Start Guide"));
    TipOfTheDay = Entry(help, QStringLiteral("&Tip of the Day"));
    help->addSeparator();
    Support = Entry(help, QStringLiteral("&Olvenar Support"));
    VisitHome = Entry(help, QStringLiteral("&Visit Olvenar Home"));
    WeatherData = Entry(help, QStringLiteral("&Weather Data by Open-Meteo.com"));
}

} // namespace olv
