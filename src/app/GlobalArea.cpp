#include "app/GlobalArea.h"

#include "app/CityKeys.h"
#include "app/ElidedComboBox.h"
#include "app/QtText.h"
#include "app/WidgetParts.h"
#include "weather/LocationListClass.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <exception>
#include <vector>

namespace olv {
namespace {

void FillCombo(QComboBox& combo, const std::vector<std::string>& entries, int selected) {
    const QSignalBlocker blocker(combo);
    combo.clear();
    for (const std::string& entry : entries)
        combo.addItem(ToQt(entry));
    combo.setCurrentIndex(selected >= 0 && selected < combo.count() ? selected : 0);
}

} // namespace

GlobalArea::GlobalArea(const LocationListClass& locations, QWidget* parent)
    : QWidget(parent), locations_(locations) {
    setObjectName(QStringLiteral("GlobalArea"));
    regions_ = new ElidedComboBox(this);
    states_ = new ElidedComboBox(this);
    cities_ = new QListWidget(this);
    cities_->setAccessibleName(QStringLiteral("Locations"));
    zip_ = new QLineEdit(this);
    zip_->setAccessibleName(QStringLiteral("Zip Code"));
    zip_->setMaxLength(int(CityKeys::kZipLength));
    zip_->setMaximumWidth(90);

    // Alt letters that the menu bar (F, R, S, V, O, H) leaves free.
    auto* regionLabel = WidgetParts::BuddyLabel(QStringLiteral("R&egion:"), regions_, this);
    stateLabel_ = WidgetParts::BuddyLabel(QStringLiteral("Su&b Region:"), states_, this);
    citiesLabel_ = WidgetParts::BuddyLabel(QStringLiteral("&Locations:"), cities_, this);
    zipLabel_ = WidgetParts::BuddyLabel(QStringLiteral("&Zip Code:"), zip_, this);

    buttons_.Retrieve = WidgetParts::Button(this, QStringLiteral("Retrieve"));
    buttons_.Conditions = WidgetParts::Button(this, QStringLiteral(" Conditions"),
                                              QStringLiteral("Retrieve and Read Conditions"));
    buttons_.Forecast = WidgetParts::Button(this, QStringLiteral(" Forecast "),
                                            QStringLiteral("Retrieve and Read Forecast"));
    buttons_.AddToMyCities = WidgetParts::Button(this, QStringLiteral("Add->MyCities"));
    buttons_.DefaultOptions = WidgetParts::Button(this, QStringLiteral("Default Options"));
    buttons_.LookUpZip = WidgetParts::Button(this, QStringLiteral("LookUp Zip"));
    buttons_.Help = WidgetParts::Button(this, QStringLiteral("Help"),
                                        QStringLiteral("Audio Help: Global Locations Area"));

    actions_.Retrieve = WidgetParts::ContextAction(cities_, QStringLiteral("R&etrieve"));
    actions_.ReadConditions =
        WidgetParts::ContextAction(cities_, QStringLiteral("Read &Conditions"));
    actions_.ReadForecast = WidgetParts::ContextAction(cities_, QStringLiteral("Read &Forecast"));
    actions_.AddToMyCities =
        WidgetParts::ContextAction(cities_, QStringLiteral("&Add to My Cities"));

    auto* choices = new QGridLayout;
    choices->addWidget(regionLabel, 0, 0);
    choices->addWidget(regions_, 0, 1);
    choices->addWidget(stateLabel_, 1, 0);
    choices->addWidget(states_, 1, 1);
    choices->addWidget(zipLabel_, 2, 0);
    auto* zipRow = new QHBoxLayout;
    zipRow->addWidget(zip_);
    zipRow->addWidget(buttons_.LookUpZip);
    zipRow->addStretch(1);
    choices->addLayout(zipRow, 2, 1);
    choices->setRowStretch(3, 1);
    auto* list = new QVBoxLayout;
    list->addWidget(citiesLabel_);
    list->addWidget(cities_, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(choices, 1);
    top->addLayout(list, 1);

    QHBoxLayout* row =
        WidgetParts::ButtonRow({buttons_.Retrieve, buttons_.Conditions, buttons_.Forecast,
                                buttons_.AddToMyCities, buttons_.DefaultOptions},
                               buttons_.Help);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 4);
    layout->setSpacing(4);
    layout->addLayout(top, 1);
    layout->addLayout(row);

    setTabOrder(regions_, states_);
    setTabOrder(states_, zip_);
    setTabOrder(zip_, buttons_.LookUpZip);
    setTabOrder(buttons_.LookUpZip, cities_);
    setTabOrder(cities_, buttons_.Retrieve);

    connect(regions_, &QComboBox::currentIndexChanged, this, [this] { RegionChanged(); });
    connect(states_, &QComboBox::currentIndexChanged, this, [this] { FillCities(); });
    connect(cities_, &QListWidget::itemActivated, this, [this] { emit CityActivated(); });
    // Coming into the list by keyboard makes its first city current without choosing it; a
    // keyboard user takes the city the list stands on as the one chosen.
    connect(cities_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && cities_->hasFocus() && cities_->selectedItems().isEmpty())
            item->setSelected(true);
    });
    SetZipMode(false);
}

void GlobalArea::SetStoredIndices(int regionIndex, int stateIndex) {
    storedRegion_ = regionIndex;
    storedState_ = stateIndex;
}

void GlobalArea::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!loaded_)
        Load();
}

void GlobalArea::Load() {
    loaded_ = true;
    try {
        std::vector<std::string> regions;
        locations_.FillRegions(regions);
        FillCombo(*regions_, regions, storedRegion_);
        std::vector<std::string> states;
        locations_.FillStates(states, CityKeys::RegionPart(FromQt(regions_->currentText())));
        FillCombo(*states_, states, storedState_);
        FillCities();
        SetZipMode(IsZipMode());
    } catch (const std::exception& error) {
        emit Problem(QString::fromLatin1(error.what()));
    }
}

void GlobalArea::RegionChanged() {
    try {
        std::vector<std::string> states;
        locations_.FillStates(states, CityKeys::RegionPart(FromQt(regions_->currentText())));
        FillCombo(*states_, states, 0);
        FillCities();
    } catch (const std::exception& error) {
        emit Problem(QString::fromLatin1(error.what()));
    }
    SetZipMode(IsZipMode());
}

// Neighbouring entries with the same name are shown once.
void GlobalArea::FillCities() {
    cities_->clear();
    try {
        std::vector<std::string> names;
        locations_.FillCities(names, CityKeys::RegionPart(FromQt(regions_->currentText())),
                              FromQt(states_->currentText()));
        const std::string* previous = nullptr;
        for (const std::string& name : names) {
            if (!previous || *previous != name)
                cities_->addItem(ToQt(name));
            previous = &name;
        }
    } catch (const std::exception& error) {
        emit Problem(QString::fromLatin1(error.what()));
    }
}

bool GlobalArea::IsZipMode() const {
    return FromQt(regions_->currentText()) == LocationListClass::kUnitedStatesByZip;
}

void GlobalArea::SetZipMode(bool zipMode) {
    for (QWidget* zipWidget : {static_cast<QWidget*>(zipLabel_), static_cast<QWidget*>(zip_),
                               static_cast<QWidget*>(buttons_.LookUpZip)})
        zipWidget->setVisible(zipMode);
    for (QWidget* listWidget : {static_cast<QWidget*>(citiesLabel_), static_cast<QWidget*>(cities_),
                                static_cast<QWidget*>(stateLabel_), static_cast<QWidget*>(states_)})
        listWidget->setVisible(!zipMode);
}

int GlobalArea::RegionIndex() const {
    return loaded_ ? regions_->currentIndex() : storedRegion_;
}

int GlobalArea::StateIndex() const {
    return loaded_ ? states_->currentIndex() : storedState_;
}

std::string GlobalArea::SelectedKey(std::string& problem) const {
    problem.clear();
    if (IsZipMode()) {
        const std::string key = CityKeys::ZipKey(FromQt(zip_->text()));
        if (key.empty())
            problem = CityKeys::kInvalidZip;
        return key;
    }
    const QListWidgetItem* city = cities_->currentItem();
    if (!city || !city->isSelected()) {
        problem = CityKeys::kNoCitySelected;
        return std::string();
    }
    return CityKeys::GlobalKey(FromQt(regions_->currentText()), FromQt(states_->currentText()),
                               FromQt(city->text()));
}

} // namespace olv
