#include "app/TOVForm.h"

#include "app/Browser.h"
#include "app/CityDisplay.h"
#include "app/ColourScheme.h"
#include "app/DialogCommands.h"
#include "app/DropDownStrip.h"
#include "app/GlobalArea.h"
#include "app/MainPanel.h"
#include "app/MyCitiesArea.h"
#include "app/QtText.h"
#include "app/THintForm.h"
#include "app/TTipForm.h"
#include "app/TipOfTheDay.h"
#include "app/TrayIcon.h"
#include "app/WebPages.h"
#include "app/WindowCommands.h"
#include "app/WindowUpdateCheck.h"
#include "app/dialogs/Prompter.h"
#include "app/dialogs/TAutoReadForm.h"
#include "platform/MessageHook.h"
#include "util/Log.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSplashScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

namespace olv {

TOVForm::TOVForm(StartSwitch start, const WallClock* clock)
    : start_(start), cities_(settings_, *this),
      readings_(speech_, cities_, defaultTalkData_, intro_),
      scheduleBridge_(settings_, cities_, *this, readings_, intro_, clock) {
    Log("OVForm ->In FormCreate");
    SetMessageHook([this](const std::string& text) { TellLatin1(this, text); });
    settings_.LoadAll();
    ConnectSpeech();
    BuildWindow();
    commands_ = new WindowCommands(*this, cities_, readings_);
    cities_.UseMetric = settings_.GetValue("Celcius").AsBool();
    ApplyUnits();
    Log("in FormCreate");
    setWindowTitle(QStringLiteral("Olvenar"));
    Log("OVForm ->BuildMenu");
    Log("OVForm ->Create DefaultTalkData");
    defaultTalkData_.Load("", "", TalkDataClass::DefaultMode);
    intro_.Load();
    Log("OVForm ->LoadItems");
    globalArea_->SetStoredIndices(settings_.GetValue("RegionIndex").AsInt(),
                                  settings_.GetValue("StateIndex").AsInt());
    Log("OVForm ->RefreshMyCities");
    cities_.MyCities.Load();
    MyCitiesChanged();
    SelectCity(-1, std::string());
    resize(WindowViews::Scaled(WindowViews::kWidth, DotsPerInch()), height());
    ApplyView();
    DrawTrayIcon();
    ShowTrayIconBySetting();
    commands_->ConnectAll();
    ConnectDialogs();
    StartTimers();
    ConnectScheduledReading();
    ApplyColours();
}

TOVForm::~TOVForm() {
    Shutdown();
    SetMessageHook({});
}

// Window -------------------------------------------------------------------------------------

void TOVForm::BuildWindow() {
    auto* backdrop = new QWidget(this);
    backdrop->setObjectName(QStringLiteral("Backdrop"));
    backdrop->setAttribute(Qt::WA_StyledBackground);
    panel_ = new MainPanel(backdrop);
    strip_ = new DropDownStrip(backdrop);
    myCitiesArea_ = new MyCitiesArea(backdrop);
    globalArea_ = new GlobalArea(cities_.Locations, backdrop);
    auto* layout = new QVBoxLayout(backdrop);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel_, 1);
    layout->addWidget(strip_);
    layout->addWidget(myCitiesArea_, 1);
    layout->addWidget(globalArea_, 1);
    setCentralWidget(backdrop);

    menus_ = std::make_unique<MainMenus>(*menuBar());
    status_ = new QLabel(QStringLiteral("Idle..."), this);
    statusBar()->addWidget(status_, 1);
    auto* credit = new QLabel(this);
    credit->setText(QStringLiteral("<a href=\"%1\">Weather data by Open-Meteo.com</a>")
                        .arg(QString::fromLatin1(web::kOpenMeteoPage)));
    // Mouse only, like the page link; the Help menu opens the same page.
    credit->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    credit->setFocusPolicy(Qt::NoFocus);
    connect(credit, &QLabel::linkActivated, this,
            [](const QString& link) { Browser::Open(QUrl(link)); });
    statusBar()->addPermanentWidget(credit);
    statusBar()->setSizeGripEnabled(false);
    tray_ = new TrayIcon(this);
}

THintForm* TOVForm::Hint() const {
    return hint_.get();
}

TTipForm* TOVForm::Tip() const {
    return tip_;
}

QString TOVForm::StatusText() const {
    return status_->text();
}

void TOVForm::ShowStatus(const std::string& text) {
    status_->setText(ToQt(text));
    emit StatusChanged(status_->text());
}

double TOVForm::DotsPerInch() const {
    const QScreen* shown = screen();
    return shown ? shown->logicalDotsPerInch() : 96.0;
}

// Speech -------------------------------------------------------------------------------------

void TOVForm::ConnectSpeech() {
    speech_.OnDone = [this](TBaseTTS&, TtsReason, const std::string& fileBase) {
        commands_->Guard([this, fileBase] { readings_.SpeechFinished(fileBase); });
    };
    // (A word reported after the end of speech is not news any more.)
    speech_.OnWordPosition = [this](TBaseTTS&, int position, int) {
        if (speech_.IsBusy())
            ShowStatus(readings_.ProgressText(position));
    };
    speech_.OnStateChange = [this](TBaseTTS&, TtsState, TtsReason) {
        if (panel_)
            panel_->SetPaused(speech_.IsPaused());
    };
    speech_.SetEncodeProgressHandler([this](TAudioFileClass&, int64_t done, int64_t total) {
        ShowStatus(SpeechProgress::ConvertingText(done, total));
    });
    readings_.ShowStatus = [this](const std::string& text) { ShowStatus(text); };
    // The update button stays enabled while speaking: the focus waits there.
    readings_.BeforeSpeaking = [this] { panel_->Button().Update->setFocus(); };
}

// Cities -------------------------------------------------------------------------------------

void TOVForm::ShowCity(const CityDataClass& city) {
    const CityDisplay shown = DescribeCity(city, cities_.UseMetric);
    panel_->ShowCity(shown);
    animation_.SetTargets(shown.Temperature, shown.Bearing);
    animateTimer_->start();
    tray_->SetTip(shown.TrayTip);
    DrawTrayIcon();
    myCitiesArea_->SelectKey(city.FullName);
}

void TOVForm::SelectCity(int myCityIndex, const std::string& recentKey) {
    strip_->FillRecent(cities_.RecentCities());
    strip_->Select(myCityIndex, recentKey);
}

void TOVForm::MyCitiesChanged() {
    const std::vector<MyCitiesRow> rows = MyCitiesRows(cities_.MyCities, cities_.UseMetric);
    myCitiesArea_->Fill(rows);
    strip_->FillMyCities(rows);
    commands_->RebuildCityMenus(rows);
    if (hint_)
        hint_->Fill(rows);
}

// Timers -------------------------------------------------------------------------------------

void TOVForm::StartTimers() {
    const auto makeTimer = [this](int interval, bool singleShot) {
        auto* timer = new QTimer(this);
        timer->setInterval(interval);
        timer->setSingleShot(singleShot);
        return timer;
    };
    animateTimer_ = makeTimer(GaugeAnimation::kIntervalMs, false);
    connect(animateTimer_, &QTimer::timeout, this, [this] {
        const bool moved = animation_.Step();
        panel_->SetGauges(animation_.Temperature(), animation_.Bearing());
        if (!moved)
            animateTimer_->stop();
    });
    appIdleTimer_ = makeTimer(kIdleMs, true);
    connect(appIdleTimer_, &QTimer::timeout, this, [this] { cities_.Idle = true; });
    appIdleTimer_->start();
    cities_.Retriever.OnResetIdle = [this] {
        cities_.Idle = false;
        appIdleTimer_->start();
    };
    cities_.Retriever.OnStatusText = [this](const std::string& text) { ShowStatus(text); };
    cities_.Retriever.OnBusy = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    hintTimer_ = makeTimer(kHintDelayMs, true);
    connect(hintTimer_, &QTimer::timeout, this, &TOVForm::ShowHint);
    autoReadTimer_ = makeTimer(kAutoReadMs, false);
}

void TOVForm::ConnectScheduledReading() {
    scheduleBridge_.Start(*autoReadTimer_);
    menus_->AutoReadSettings->setEnabled(true);
    connect(menus_->AutoReadSettings, &QAction::triggered, this,
            [this] { commands_->Guard([this] { OpenAutoReadSettings(); }); });
}

void TOVForm::OpenAutoReadSettings() {
    std::vector<std::string> keys, names;
    for (const MyCitiesRow& row : myCitiesArea_->Rows()) {
        keys.push_back(row.Key);
        names.push_back(row.Caption);
    }
    TAutoReadForm form(std::move(keys), names, this);
    form.exec();
}

// Dialogs and update check ----------------------------------------------------------------------

void TOVForm::ConnectDialogs() {
    dialogs_ = std::make_unique<DialogCommands>(*this, *commands_);
    dialogs_->ConnectAll();
    cities_.BeforeUpdateAll = [this] { RunUpdateCheck(UpdateOccasion::Automatic); };
    commands_->On(menus_->CheckForUpgrade, &QAction::triggered,
                  [this] { RunUpdateCheck(UpdateOccasion::Requested); });
    SetUpdateCheck(std::make_unique<WindowUpdateCheck>(
        settings_, *this, [this](const std::string& text) { ShowStatus(text); }));
}

// Not while a check runs (from one of its own events).
void TOVForm::SetUpdateCheck(std::unique_ptr<UpdateCheck> check) {
    updateCheck_ = std::move(check);
    menus_->CheckForUpgrade->setEnabled(updateCheck_ && !updateRunning_);
}

// The check lets events run while it waits for the server: the command that started it stays
// off until it ends.
void TOVForm::RunUpdateCheck(UpdateOccasion occasion) {
    if (!updateCheck_ || updateRunning_ || shutDown_)
        return;
    updateRunning_ = true;
    menus_->CheckForUpgrade->setEnabled(false);
    const auto done = qScopeGuard([this] {
        updateRunning_ = false;
        menus_->CheckForUpgrade->setEnabled(bool(updateCheck_));
    });
    updateCheck_->Run(occasion);
}

// Views, look and tray ------------------------------------------------------------------------

WindowView TOVForm::View() const {
    return WindowViews::ViewOf(settings_.GetValue("ShowMyCities").AsBool(),
                               settings_.GetValue("ShowGlobal").AsBool());
}

void TOVForm::SetView(WindowView view) {
    settings_.SetValue("ShowMyCities", view == WindowView::MyCities);
    settings_.SetValue("ShowGlobal", view == WindowView::Global);
    if (view == WindowView::Normal)
        resize(WindowViews::Scaled(WindowViews::kWidth, DotsPerInch()), height());
    ApplyView();
}

void TOVForm::ApplyView() {
    const WindowView view = View();
    // A stored pair with both switches on shows the My Cities view.
    settings_.SetValue("ShowGlobal", view == WindowView::Global);
    myCitiesArea_->setVisible(view == WindowView::MyCities);
    globalArea_->setVisible(view == WindowView::Global);
    strip_->setVisible(view == WindowView::Normal);
    panel_->SetViewButtons(view == WindowView::MyCities, view == WindowView::Global);
    QAction* checked = view == WindowView::MyCities ? menus_->MyCitiesView
                       : view == WindowView::Global ? menus_->GlobalLocations
                                                    : menus_->NormalWindow;
    checked->setChecked(true);
    resize(width(), WindowViews::Scaled(WindowViews::Height(view), DotsPerInch()));
}

void TOVForm::ApplyColours() {
    const ColourScheme scheme = ColourScheme::FromSettings(settings_);
    centralWidget()->setStyleSheet(scheme.StyleSheet());
    panel_->SetColours(scheme.Label, scheme.Value);
}

void TOVForm::ApplyUnits() {
    panel_->SetMetric(cities_.UseMetric);
}

void TOVForm::DrawTrayIcon() {
    if (!settings_.GetValue("SysTray").AsBool())
        return;
    const std::string temperature =
        cities_.CurrentCity ? ShownTemperature(*cities_.CurrentCity, cities_.UseMetric) : "";
    tray_->Draw(TrayIcon::IconText(temperature), settings_);
}

void TOVForm::ShowTrayIconBySetting() {
    if (settings_.GetValue("SysTray").AsBool())
        tray_->Show();
    else
        tray_->Hide();
}

void TOVForm::AfterPreferences() {
    DrawTrayIcon();
    ShowTrayIconBySetting();
    cities_.UseMetric = settings_.GetValue("Celcius").AsBool();
    ApplyUnits();
    MyCitiesChanged();
    if (cities_.CurrentCity)
        ShowCity(*cities_.CurrentCity);
}

void TOVForm::AfterAppearance() {
    ApplyColours();
    DrawTrayIcon();
}

void TOVForm::ToggleHint(const QPoint& at) {
    if (hint_ && hint_->isVisible()) {
        hintTimer_->stop();
        hint_->close();
        return;
    }
    hintAt_ = at;
    hintTimer_->start();
}

void TOVForm::ShowHint() {
    if (!hint_) {
        hint_ = std::make_unique<THintForm>();
        hint_->setAttribute(Qt::WA_DeleteOnClose, false);
        hint_->Fill(myCitiesArea_->Rows());
    }
    if (!hint_->isVisible())
        hint_->ShowAt(hintAt_);
}

// Commands of the window itself -----------------------------------------------------------------

void TOVForm::ShowTipOfTheDay() {
    if (tip_) {
        tip_->ShowNextTip();
        tip_->raise();
        return;
    }
    if (!tips_)
        tips_ = std::make_unique<TipOfTheDay>(settings_);
    tip_ = new TTipForm(*tips_, this);
    tip_->setAttribute(Qt::WA_DeleteOnClose);
    const QScreen* shownOn = screen();
    tip_->move(TTipForm::Place(frameGeometry(), tip_->size(),
                               shownOn ? shownOn->availableGeometry() : QRect(0, 0, 1024, 768)));
    tip_->show();
}

void TOVForm::Restore() {
    Log("Restoring the window");
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

// Life cycle ---------------------------------------------------------------------------------

void TOVForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FirstShow();
}

void TOVForm::FirstShow() {
    Log("OVForm ->In FormShow");
    if (splash_) {
        // Gone at once: a closed splash that lingers is still a window to screen readers.
        delete splash_;
    }
    panel_->Clear();
    const QScreen* shownOn = screen();
    const QRect area = shownOn ? shownOn->availableGeometry() : QRect(0, 0, 1024, 768);
    if (const auto origin = settings_.RestoreWindowPosition("TOVForm", area.width(), area.height()))
        move(origin->Left, origin->Top);
    commands_->Guard([this] { cities_.ShowMainCity(); });
    // Loading the voices is left until the window is on the screen.
    QTimer::singleShot(0, this, [this] {
        commands_->Guard([this] { speech_.Initialize(settings_); });
        commands_->Guard([this] { RunUpdateCheck(UpdateOccasion::FirstRun); });
        commands_->Guard([this] { ApplyStartSwitch(); });
    });
}

void TOVForm::ApplyStartSwitch() {
    switch (start_) {
    case StartSwitch::Auto:
        if (!minimizedOnce_) {
            minimizedOnce_ = true;
            MinimiseToTray();
        }
        break;
    // A failed update still reads: the last good weather, with its time.
    case StartSwitch::Conditions:
        if (cities_.CurrentCity)
            cities_.UpdateCurrent();
        readings_.ReadConditions();
        break;
    case StartSwitch::Forecast:
        if (cities_.CurrentCity)
            cities_.UpdateCurrent();
        readings_.ReadForecast();
        break;
    case StartSwitch::Summary:
        scheduleBridge_.UpdateAll();
        readings_.ReadMyCitiesSummary();
        break;
    case StartSwitch::None:
        break;
    }
    if (StartUp::ShowsTipAtStart(start_, settings_)) {
        tips_ = std::make_unique<TipOfTheDay>(settings_);
        if (tips_->HasTips())
            ShowTipOfTheDay();
    }
}

void TOVForm::MinimiseToTray() {
    if (settings_.GetValue("SysTray").AsBool() && tray_->IsShown() && TrayIcon::Available())
        hide();
    else
        showMinimized();
}

void TOVForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Minimised with a tray icon: no task bar entry, the icon brings the window back.
    if (event->type() == QEvent::WindowStateChange && isMinimized() &&
        settings_.GetValue("SysTray").AsBool() && tray_->IsShown() && TrayIcon::Available())
        QTimer::singleShot(0, this, &QWidget::hide);
}

void TOVForm::SaveState() {
    TBaseRegistryClass::WindowGeometry geometry;
    geometry.Maximized = isMaximized();
    const QRect frame = normalGeometry();
    geometry.Left = frame.left();
    geometry.Top = frame.top();
    geometry.Width = frame.width();
    geometry.Height = frame.height();
    settings_.SaveWindowPosition("TOVForm", geometry);
    settings_.SetValue("RegionIndex", globalArea_->RegionIndex());
    settings_.SetValue("StateIndex", globalArea_->StateIndex());
    settings_.SaveAll();
}

void TOVForm::closeEvent(QCloseEvent* event) {
    if (cities_.Closing) { // Exit has saved and stopped everything
        event->accept();
        return;
    }
    SaveState();
    // With "SysTray" the close button only minimises: into the notification area, or where
    // there is none onto the task bar.
    if (settings_.GetValue("SysTray").AsBool()) {
        event->ignore();
        MinimiseToTray();
        return;
    }
    Shutdown();
    event->accept();
    // Queued: quitting closes the windows, this one among them.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void TOVForm::Exit() {
    SaveState();
    cities_.Closing = true;
    Shutdown();
    QApplication::quit();
}

// Ends what runs: the retrieval, speech, timers, tray icon and hint window.
void TOVForm::Shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    cities_.Closing = true;
    // Stops the retrieval and speech and empties the queue, so nothing starts after them.
    readings_.Stop();
    if (updateCheck_)
        updateCheck_->Cancel();
    for (QTimer* timer : {animateTimer_, appIdleTimer_, autoReadTimer_, hintTimer_})
        if (timer)
            timer->stop();
    tray_->Hide();
    if (hint_)
        hint_->close();
    if (tip_)
        tip_->close();
}

} // namespace olv
