#include "app/dialogs/TOlvenarPrefForm.h"

#include "app/dialogs/DialogSupport.h"
#include "app/dialogs/Prompter.h"
#include "platform/Autostart.h"
#include "settings/OlvenarRegistryClass.h"
#include "weather/MyCitiesClass.h"
#include "weather/WeatherUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <vector>

namespace olv {
namespace {

constexpr int kZipLength = 5;

QLabel* WrappedText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

void Fill(QComboBox* combo, const std::vector<std::string>& entries) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const std::string& entry : entries)
        combo->addItem(Latin1(entry));
    combo->setCurrentIndex(entries.empty() ? -1 : 0);
}

} // namespace

TOlvenarPrefForm::TOlvenarPrefForm(OlvenarRegistryClass& settings, QWidget* parent)
    : TBasePrefForm(settings, parent),
      OpenUrl([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    AddPanel(MakeIntroPanel(), QStringLiteral("1,0,Welcome to Olvenar"));
    AddPanel(MakeProxyPanel(), QStringLiteral("2,2,Internet Options"));
    AddPanel(MakeCityPanel(), QStringLiteral("3,0,Your Closest City"));
    AddPanel(MakeMiscPanel(), QStringLiteral("4,1,Misc. Settings"));
}

QWidget* TOlvenarPrefForm::MakeIntroPanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("IntroPanel"));
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(WrappedText(
        QStringLiteral("Olvenar fetches the weather of the cities you choose and reads it aloud."),
        panel));
    layout->addWidget(WrappedText(
        QStringLiteral("The next pages set up how Olvenar reaches the internet, the city closest "
                       "to you and how Olvenar starts. You can change these settings later "
                       "under Olvenar Preferences."),
        panel));
    layout->addStretch();
    return panel;
}

QWidget* TOlvenarPrefForm::MakeProxyPanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("ProxyPanel"));
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(WrappedText(
        QStringLiteral("If you reach the internet through a proxy server, enter it here. Leave "
                       "the proxy host empty when you connect directly."),
        panel));
    auto* form = new QFormLayout;
    const struct {
        const char* caption;
        const char* setting;
    } rows[] = {{"Proxy &Host:", "ProxyHost"},
                {"Proxy &Port:", "ProxyPort"},
                {"&Username:", "ProxyUsername"},
                {"Pass&word:", "ProxyPassword"}};
    for (const auto& row : rows) {
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(QString::fromLatin1(row.setting) + QStringLiteral("Edit"));
        Bind(edit, row.setting);
        form->addRow(QString::fromLatin1(row.caption), edit);
        if (QByteArray(row.setting) == "ProxyPassword")
            edit->setEchoMode(QLineEdit::Password);
    }
    layout->addLayout(form);
    layout->addStretch();
    return panel;
}

QWidget* TOlvenarPrefForm::MakeCityPanel() {
    cityPanel_ = new QWidget;
    cityPanel_->setObjectName(QStringLiteral("CityPanel"));
    auto* layout = new QVBoxLayout(cityPanel_);
    layout->addWidget(WrappedText(
        QStringLiteral("Choose the city closest to you. Olvenar shows its weather when it "
                       "starts and adds it to My Cities. In the United States you can also "
                       "choose a city by its ZIP code."),
        cityPanel_));
    auto* form = new QFormLayout;
    regionCombo_ = new QComboBox(cityPanel_);
    stateCombo_ = new QComboBox(cityPanel_);
    cityCombo_ = new QComboBox(cityPanel_);
    regionCombo_->setObjectName(QStringLiteral("RegionDropdown"));
    stateCombo_->setObjectName(QStringLiteral("StateDropdown"));
    cityCombo_->setObjectName(QStringLiteral("CityDropdown"));
    // Long catalogue names must not widen the dialog beyond a small screen.
    for (QComboBox* combo : {regionCombo_, stateCombo_, cityCombo_}) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(20);
    }
    form->addRow(QStringLiteral("&Region:"), regionCombo_);
    stateLabel_ = new QLabel(QStringLiteral("&Sub Region:"), cityPanel_);
    stateLabel_->setBuddy(stateCombo_);
    form->addRow(stateLabel_, stateCombo_);
    cityLabel_ = new QLabel(QStringLiteral("Cit&y:"), cityPanel_);
    cityLabel_->setBuddy(cityCombo_);
    form->addRow(cityLabel_, cityCombo_);

    zipEdit_ = new QLineEdit(cityPanel_);
    zipEdit_->setObjectName(QStringLiteral("ZipEdit"));
    // Five digits and no more: a longer text is no ZIP code.
    zipEdit_->setMaxLength(kZipLength);
    zipEdit_->setMaximumWidth(zipEdit_->fontMetrics().horizontalAdvance(QStringLiteral("0")) *
                              (kZipLength + 4));
    zipEdit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,5}")), zipEdit_));
    lookUpButton_ = new QPushButton(QStringLiteral("&LookUp Zip"), cityPanel_);
    auto* zipRow = new QHBoxLayout;
    zipRow->addWidget(zipEdit_);
    zipRow->addWidget(lookUpButton_);
    zipRow->addStretch();
    zipLabel_ = new QLabel(QStringLiteral("&Zip Code:"), cityPanel_);
    zipLabel_->setBuddy(zipEdit_);
    form->addRow(zipLabel_, zipRow);
    layout->addLayout(form);
    layout->addStretch();

    connect(regionCombo_, &QComboBox::currentIndexChanged, this, [this] { RegionChanged(); });
    connect(stateCombo_, &QComboBox::currentIndexChanged, this, [this] { StateChanged(); });
    connect(lookUpButton_, &QPushButton::clicked, this,
            [this] { OpenUrl(QUrl(QString::fromLatin1(kZipLookupAddress))); });
    return cityPanel_;
}

QWidget* TOlvenarPrefForm::MakeMiscPanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("MiscPanel"));
    auto* layout = new QVBoxLayout(panel);
    const struct {
        const char* caption;
        const char* setting;
    } checks[] = {{"Start Olvenar &automatically when you log in.", "AutoStart"},
                  {"Show Olvenar in the system &tray", "SysTray"},
                  {"Use &Metric for Current Conditions", "Celcius"},
                  {"&Disable Opening Splash Screen", "DisableSplash"}};
    for (const auto& check : checks) {
        auto* box = new QCheckBox(QString::fromLatin1(check.caption), panel);
        box->setObjectName(QString::fromLatin1(check.setting) + QStringLiteral("Check"));
        Bind(box, check.setting);
        layout->addWidget(box);
        if (QByteArray(check.setting) == "SysTray") {
            // The refresh interval sits with the start-up choices, as before.
            auto* updateCombo = new QComboBox(panel);
            updateCombo->setObjectName(QStringLiteral("AutoUpdateCombo"));
            for (const char* minutes : {"0", "5", "10", "15", "20", "30", "45", "60"})
                updateCombo->addItem(QString::fromLatin1(minutes));
            Bind(updateCombo, "AutoUpdate");
            auto* label = new QLabel(QStringLiteral("Update &Every"), panel);
            label->setBuddy(updateCombo);
            auto* row = new QHBoxLayout;
            row->addWidget(label);
            row->addWidget(updateCombo);
            row->addWidget(new QLabel(QStringLiteral("Minutes."), panel));
            row->addStretch();
            layout->addLayout(row);
        }
    }
    layout->addWidget(WrappedText(
        QStringLiteral("My Cities are updated every so many minutes while you are not using "
                       "Olvenar; 0 turns this off."),
        panel));
    layout->addStretch();
    return panel;
}

TOlvenarPrefForm::FirstRun TOlvenarPrefForm::RunFirstRun(OlvenarRegistryClass& settings,
                                                         QWidget* parent) {
    if (settings.IsStartupSaved())
        return FirstRun::NotNeeded;
    TOlvenarPrefForm wizard(settings, parent);
    return wizard.exec() == Saved ? FirstRun::Finished : FirstRun::Cancelled;
}

bool TOlvenarPrefForm::ZipRegionChosen() const {
    return regionCombo_->currentText() ==
           QString::fromLatin1(LocationListClass::kUnitedStatesByZip);
}

void TOlvenarPrefForm::LoadHook() {
    FillRegions();
    const int stored = Settings().GetValue("RegionIndex").AsInt();
    const int count = regionCombo_->count();
    {
        const QSignalBlocker blocker(regionCombo_);
        regionCombo_->setCurrentIndex(count == 0 ? -1 : std::clamp(stored, 0, count - 1));
    }
    RegionChanged();
}

void TOlvenarPrefForm::FillRegions() {
    std::vector<std::string> regions;
    try {
        locations_.FillRegions(regions);
    } catch (const std::exception& error) {
        Tell(this, Latin1(error.what()));
    }
    Fill(regionCombo_, regions);
}

void TOlvenarPrefForm::RegionChanged() {
    const bool zip = ZipRegionChosen();
    for (QWidget* widget : {static_cast<QWidget*>(zipLabel_), static_cast<QWidget*>(zipEdit_),
                            static_cast<QWidget*>(lookUpButton_)})
        widget->setVisible(zip);
    for (QWidget* widget : {static_cast<QWidget*>(stateLabel_), static_cast<QWidget*>(stateCombo_),
                            static_cast<QWidget*>(cityLabel_), static_cast<QWidget*>(cityCombo_)})
        widget->setVisible(!zip);
    std::vector<std::string> states;
    try {
        locations_.FillStates(states,
                              WeatherUtils::StripParen(ToLatin1(regionCombo_->currentText())));
    } catch (const std::exception& error) {
        Tell(this, Latin1(error.what()));
    }
    Fill(stateCombo_, states);
    StateChanged();
}

void TOlvenarPrefForm::StateChanged() {
    std::vector<std::string> cities;
    try {
        locations_.FillCities(cities,
                              WeatherUtils::StripParen(ToLatin1(regionCombo_->currentText())),
                              ToLatin1(stateCombo_->currentText()));
    } catch (const std::exception& error) {
        Tell(this, Latin1(error.what()));
    }
    Fill(cityCombo_, cities);
}

std::string TOlvenarPrefForm::ChosenCityKey() const {
    if (ZipRegionChosen() && !zipEdit_->text().isEmpty())
        return "ZIP:" + ToLatin1(zipEdit_->text());
    if (cityCombo_->currentText().isEmpty())
        return {};
    return WeatherUtils::StripParen(ToLatin1(regionCombo_->currentText())) + "|" +
           ToLatin1(stateCombo_->currentText()) + "|" + ToLatin1(cityCombo_->currentText());
}

bool TOlvenarPrefForm::ValidatePanel(QWidget* panel) {
    if (panel == cityPanel_ && ZipRegionChosen() && zipEdit_->text().size() < kZipLength) {
        Tell(this, QStringLiteral("Invalid Zip Code Entered."));
        return false;
    }
    return TBasePrefForm::ValidatePanel(panel);
}

void TOlvenarPrefForm::SaveHook() {
    // The dialog has no city panel: the user's closest city and My Cities stay as they are.
    if (WizardMode()) {
        const std::string key = ChosenCityKey();
        if (!key.empty()) {
            AddToMyCities(key);
            Settings().SetValue("MainCityName", key);
        }
    }
    const std::string problem = SetAutostart(Settings().GetValue("AutoStart").AsBool());
    if (!problem.empty())
        Tell(this, Latin1(problem));
}

void TOlvenarPrefForm::AddToMyCities(const std::string& key) {
    MyCitiesClass myCities;
    try {
        myCities.Load();
        if (myCities.IndexOf(key) < 0) {
            myCities.Keys.push_back(key);
            myCities.Save();
        }
    } catch (const std::exception& error) {
        Tell(this,
             QStringLiteral("Your city could not be added to My Cities: ") + Latin1(error.what()));
    }
}

} // namespace olv
