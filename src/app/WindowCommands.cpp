#include "app/WindowCommands.h"

#include "app/Browser.h"
#include "app/CityKeys.h"
#include "app/CitySession.h"
#include "app/DropDownStrip.h"
#include "app/GlobalArea.h"
#include "app/MainMenus.h"
#include "app/MainPanel.h"
#include "app/MyCitiesArea.h"
#include "app/QtSwitch.h"
#include "app/QtText.h"
#include "app/ReadingCommands.h"
#include "app/TAudioHelp.h"
#include "app/TOVForm.h"
#include "app/TrayIcon.h"
#include "app/WebPages.h"
#include "app/dialogs/Prompter.h"
#include "speech/TBaseTTS.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QUrlQuery>
#include <exception>

namespace olv {

WindowCommands::WindowCommands(TOVForm& window, CitySession& cities, ReadingCommands& readings)
    : QObject(&window), window_(window), cities_(cities), readings_(readings) {}

WindowCommands::~WindowCommands() = default;

void WindowCommands::ConnectAll() {
    RegisterSpeechControls();
    BuildAudioHelpMenu();
    ConnectPanel();
    ConnectAreas();
    ConnectMenus();
    ConnectTray();
}

void WindowCommands::Guard(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        Log(std::string("Command failed: ") + error.what());
        TellLatin1(&window_, error.what());
    }
}

void WindowCommands::RegisterSpeechControls() {
    const auto add = [this](int role, QWidget* widget) {
        switches_.push_back(std::make_unique<WidgetSwitch>(widget));
        window_.Speech().AddControl(role, *switches_.back());
    };
    const auto addEntry = [this](int role, QAction* action) {
        switches_.push_back(std::make_unique<ActionSwitch>(action));
        window_.Speech().AddMenuItem(role, *switches_.back());
    };
    const MainPanel::Buttons& main = window_.Panel().Button();
    const MainMenus& menus = window_.Menus();
    add(3, main.Pause);
    addEntry(3, menus.PauseResume);
    add(5, main.Stop);
    addEntry(5, menus.Stop);
    addEntry(5, window_.Tray().Action().StopReading);
    for (QWidget* button :
         {main.TopHelp, main.Conditions, main.Forecast, main.Random, main.MainHelp,
          window_.MyCitiesView().Button().Summary, window_.MyCitiesView().Button().Help,
          window_.GlobalView().Button().Conditions, window_.GlobalView().Button().Forecast,
          window_.GlobalView().Button().Help})
        add(0, button);
    for (QAction* entry :
         {menus.CurrentConditions, menus.CurrentForecast, menus.ConditionsAndForecast,
          menus.MyCitiesSummary, menus.ForecastAndConditions, menus.SummaryToFile,
          menus.ForecastToFile, menus.StartRandomRead, menus.MyCitiesConditions->menuAction(),
          menus.MyCitiesForecast->menuAction(), menus.AudioHelp->menuAction(), menus.JustForFun,
          window_.Tray().Action().ReadConditions, window_.Tray().Action().ReadForecast,
          window_.Tray().Action().MyCityConditions->menuAction(),
          window_.Tray().Action().MyCityForecast->menuAction()})
        addEntry(0, entry);
}

void WindowCommands::BuildAudioHelpMenu() {
    for (const std::string& topic : TAudioHelp::Topics())
        On(window_.Menus().AudioHelp->addAction(ToQt(topic)), &QAction::triggered,
           [this, topic] { readings_.ReadAudioHelp(topic); });
}

void WindowCommands::RebuildCityMenus(const std::vector<MyCitiesRow>& rows) {
    const MainMenus& menus = window_.Menus();
    for (QMenu* menu :
         {menus.SelectMyCity, menus.MyCitiesConditions, menus.MyCitiesForecast,
          window_.Tray().Action().MyCityConditions, window_.Tray().Action().MyCityForecast})
        menu->clear();
    for (const MyCitiesRow& row : rows) {
        const QString caption = ToQt(row.Caption);
        const std::string key = row.Key;
        On(menus.SelectMyCity->addAction(caption), &QAction::triggered,
           [this, key] { cities_.ShowStoredCity(key); });
        for (QMenu* menu : {menus.MyCitiesConditions, window_.Tray().Action().MyCityConditions})
            On(menu->addAction(caption), &QAction::triggered,
               [this, key] { readings_.ReadMyCity(key, false); });
        for (QMenu* menu : {menus.MyCitiesForecast, window_.Tray().Action().MyCityForecast})
            On(menu->addAction(caption), &QAction::triggered,
               [this, key] { readings_.ReadMyCity(key, true); });
    }
}

std::string WindowCommands::SelectedGlobalKey() {
    std::string problem;
    const std::string key = window_.GlobalView().SelectedKey(problem);
    if (!problem.empty())
        TellLatin1(&window_, problem);
    return key;
}

void WindowCommands::ConnectPanel() {
    const MainPanel::Buttons& button = window_.Panel().Button();
    On(button.Pause, &QPushButton::clicked, [this] { readings_.PauseResume(); });
    On(button.Stop, &QPushButton::clicked, [this] { readings_.Stop(); });
    On(button.Update, &QPushButton::clicked, [this] { cities_.UpdateCurrent(); });
    On(button.Conditions, &QPushButton::clicked, [this] { readings_.ReadConditions(); });
    On(button.Forecast, &QPushButton::clicked, [this] { readings_.ReadForecast(); });
    On(button.Random, &QPushButton::clicked, [this] { readings_.StartRandomReading(); });
    On(button.TopHelp, &QPushButton::clicked,
       [this] { readings_.ReadAudioHelp(TAudioHelp::kOverview); });
    On(button.MainHelp, &QPushButton::clicked,
       [this] { readings_.ReadAudioHelp(TAudioHelp::kMainWindowArea); });
    On(button.MyCitiesToggle, &QPushButton::clicked, [this] {
        bool myCities = window_.View() == WindowView::MyCities,
             global = window_.View() == WindowView::Global;
        WindowViews::ToggleMyCities(myCities, global);
        window_.SetView(WindowViews::ViewOf(myCities, global));
    });
    On(button.GlobalToggle, &QPushButton::clicked, [this] {
        bool myCities = window_.View() == WindowView::MyCities,
             global = window_.View() == WindowView::Global;
        WindowViews::ToggleGlobal(myCities, global);
        window_.SetView(WindowViews::ViewOf(myCities, global));
    });
    On(&window_.Panel(), &MainPanel::PageLinkActivated, [this] { ViewPage(); });
}

void WindowCommands::ConnectAreas() {
    const MyCitiesArea::Buttons& mine = window_.MyCitiesView().Button();
    const MyCitiesArea::Actions& mineMenu = window_.MyCitiesView().Action();
    On(mine.UpdateAll, &QPushButton::clicked, [this] { window_.Schedule().UpdateAll(); });
    On(mine.Summary, &QPushButton::clicked, [this] { readings_.ReadMyCitiesSummary(); });
    On(mine.Help, &QPushButton::clicked,
       [this] { readings_.ReadAudioHelp(TAudioHelp::kMyCitiesArea); });
    On(mine.Remove, &QPushButton::clicked,
       [this] { cities_.RemoveMyCity(window_.MyCitiesView().SelectedKey()); });
    On(mineMenu.Remove, &QAction::triggered,
       [this] { cities_.RemoveMyCity(window_.MyCitiesView().SelectedKey()); });
    On(mineMenu.ReadConditions, &QAction::triggered,
       [this] { readings_.ReadMyCity(window_.MyCitiesView().SelectedKey(), false); });
    On(mineMenu.ReadForecast, &QAction::triggered,
       [this] { readings_.ReadMyCity(window_.MyCitiesView().SelectedKey(), true); });
    On(mineMenu.Update, &QAction::triggered,
       [this] { cities_.UpdateMyCity(window_.MyCitiesView().SelectedKey()); });
    connect(&window_.MyCitiesView(), &MyCitiesArea::CityChosen, this,
            [this](const std::string& key) { Guard([&] { cities_.ShowStoredCity(key); }); });

    const GlobalArea::Buttons& global = window_.GlobalView().Button();
    const GlobalArea::Actions& globalMenu = window_.GlobalView().Action();
    const auto retrieve = [this] {
        const std::string key = SelectedGlobalKey();
        if (!key.empty())
            cities_.RetrieveAndShow(key);
    };
    const auto readConditions = [this] {
        const std::string key = SelectedGlobalKey();
        if (!key.empty())
            readings_.RetrieveAndReadDefaultConditions(key);
    };
    const auto retrieveAndRead = [this](bool forecast) {
        const std::string key = SelectedGlobalKey();
        if (!key.empty())
            readings_.RetrieveAndRead(key, forecast);
    };
    const auto add = [this] {
        const std::string key = SelectedGlobalKey();
        if (!key.empty())
            cities_.AddMyCity(key);
    };
    On(global.Retrieve, &QPushButton::clicked, retrieve);
    On(globalMenu.Retrieve, &QAction::triggered, retrieve);
    On(global.Conditions, &QPushButton::clicked, readConditions);
    On(&window_.GlobalView(), &GlobalArea::CityActivated, readConditions);
    On(global.Forecast, &QPushButton::clicked, [retrieveAndRead] { retrieveAndRead(true); });
    On(globalMenu.ReadConditions, &QAction::triggered,
       [retrieveAndRead] { retrieveAndRead(false); });
    On(globalMenu.ReadForecast, &QAction::triggered, [retrieveAndRead] { retrieveAndRead(true); });
    On(global.AddToMyCities, &QPushButton::clicked, add);
    On(globalMenu.AddToMyCities, &QAction::triggered, add);
    On(global.LookUpZip, &QPushButton::clicked, [] { Browser::OpenPage(web::kZipLookupPage); });
    On(global.Help, &QPushButton::clicked,
       [this] { readings_.ReadAudioHelp(TAudioHelp::kGlobalArea); });
    connect(&window_.GlobalView(), &GlobalArea::Problem, this,
            [this](const QString& text) { window_.ShowStatusText(FromQt(text)); });

    connect(&window_.Strip(), &DropDownStrip::MyCityChosen, this,
            [this](const std::string& key) { Guard([&] { cities_.ShowStoredCity(key); }); });
    connect(&window_.Strip(), &DropDownStrip::RecentChosen, this,
            [this](const std::string& key) { Guard([&] { cities_.RetrieveAndShow(key); }); });
}

void WindowCommands::ConnectMenus() {
    const MainMenus& menus = window_.Menus();
    On(menus.UpdateCurrent, &QAction::triggered, [this] { cities_.UpdateCurrent(); });
    On(menus.UpdateAll, &QAction::triggered, [this] { window_.Schedule().UpdateAll(); });
    On(menus.ViewPage, &QAction::triggered, [this] { ViewPage(); });
    On(menus.SummaryToFile, &QAction::triggered, [this] { readings_.SaveMyCitiesSummaryToFile(); });
    On(menus.ForecastToFile, &QAction::triggered, [this] { readings_.SaveForecastToFile(); });
    On(menus.DisplayWindow, &QAction::triggered, [this] { window_.Restore(); });
    On(menus.Exit, &QAction::triggered, [this] { window_.Exit(); });
    On(menus.CurrentConditions, &QAction::triggered, [this] { readings_.ReadConditions(); });
    On(menus.CurrentForecast, &QAction::triggered, [this] { readings_.ReadForecast(); });
    for (QAction* both : {menus.ConditionsAndForecast, menus.ForecastAndConditions})
        On(both, &QAction::triggered, [this] { readings_.ReadConditionsAndForecast(); });
    On(menus.MyCitiesSummary, &QAction::triggered, [this] { readings_.ReadMyCitiesSummary(); });
    On(menus.StartRandomRead, &QAction::triggered, [this] { readings_.StartRandomReading(); });
    On(menus.JustForFun, &QAction::triggered, [this] { readings_.ReadJoke(); });
    On(menus.PauseResume, &QAction::triggered, [this] { readings_.PauseResume(); });
    On(menus.Stop, &QAction::triggered, [this] { readings_.Stop(); });
    On(menus.NormalWindow, &QAction::triggered, [this] { window_.SetView(WindowView::Normal); });
    On(menus.MyCitiesView, &QAction::triggered, [this] { window_.SetView(WindowView::MyCities); });
    On(menus.GlobalLocations, &QAction::triggered, [this] { window_.SetView(WindowView::Global); });
    On(menus.TellAFriend, &QAction::triggered, [this] { TellAFriend(); });
    On(menus.HelpContents, &QAction::triggered, [] { Browser::OpenProgramFile(web::kLocalHelp); });
    On(menus.QuickStartGuide, &QAction::triggered,
       [] { Browser::OpenProgramFile(web::kQuickStartGuide); });
    On(menus.TipOfTheDay, &QAction::triggered, [this] { window_.ShowTipOfTheDay(); });
    On(menus.Support, &QAction::triggered, [] { Browser::OpenPageOrHelp(web::kSupportPage); });
    On(menus.VisitHome, &QAction::triggered, [] { Browser::OpenPageOrHelp(web::kHomePage); });
    On(menus.WeatherData, &QAction::triggered, [] { Browser::OpenPage(web::kOpenMeteoPage); });
}

void WindowCommands::ConnectTray() {
    const TrayIcon::Actions& tray = window_.Tray().Action();
    connect(&window_.Tray(), &TrayIcon::RestoreRequested, &window_, &TOVForm::Restore);
    connect(&window_.Tray(), &TrayIcon::HintRequested, &window_, &TOVForm::ToggleHint);
    On(tray.StopReading, &QAction::triggered, [this] { readings_.Stop(); });
    On(tray.ReadConditions, &QAction::triggered, [this] { readings_.ReadConditions(); });
    On(tray.ReadForecast, &QAction::triggered, [this] { readings_.ReadForecast(); });
    On(tray.VisitHome, &QAction::triggered, [] { Browser::OpenPageOrHelp(web::kHomePage); });
    On(tray.Exit, &QAction::triggered, [this] { window_.Exit(); });
}

void WindowCommands::ViewPage() {
    if (!cities_.CurrentCity) {
        TellLatin1(&window_, CityKeys::kNoCitySelected);
        return;
    }
    const CityDataClass& city = *cities_.CurrentCity;
    Browser::OpenPage(city.Link.empty() || !StartsWith(city.Link, "http")
                          ? web::WeatherSiteFor(city.FullName)
                          : city.Link);
}

void WindowCommands::TellAFriend() {
    QUrl mail(QStringLiteral("mailto:"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QString::fromLatin1(web::kTellAFriendSubject));
    query.addQueryItem(QStringLiteral("body"), ToQt(web::TellAFriendText()));
    mail.setQuery(query);
    Browser::Open(mail);
}

} // namespace olv
