#include "app/dialogs/TEditAutoForm.h"

#include "app/dialogs/DialogSupport.h"
#include "app/dialogs/TReadOptionsForm.h"
#include "schedule/AutoItemClass.h"
#include "weather/WeatherUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace olv {
namespace {

constexpr int kMinuteStep = 5;

// "Boston. Massachusetts" for a global key, a ZIP key as it stands, "" for none.
QString CityText(const std::string& key) {
    if (key.empty())
        return {};
    if (key.find('|') == std::string::npos)
        return Latin1(key);
    return Latin1(WeatherUtils::ThirdField(key) + ". " + WeatherUtils::SecondField(key));
}

} // namespace

TEditAutoForm::TEditAutoForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("When to Read"));
    itemNameLabel_ = new QLabel(this);
    itemNameLabel_->setObjectName(QStringLiteral("ItemNameLabel"));
    QFont bold = itemNameLabel_->font();
    bold.setBold(true);
    itemNameLabel_->setFont(bold);
    cityCaption_ = new QLabel(QStringLiteral("City Name:"), this);
    cityNameLabel_ = new QLabel(this);
    cityNameLabel_->setObjectName(QStringLiteral("CityNameLabel"));

    type_ = new QComboBox(this);
    type_->setObjectName(QStringLiteral("TypeCombo"));
    type_->addItems({QStringLiteral("Periodic (read every XX minutes)"),
                     QStringLiteral("Specific Time (read at a specific time)")});
    auto* typeCaption = new QLabel(QStringLiteral("&Type:"), this);
    typeCaption->setBuddy(type_);

    period_ = new QComboBox(this);
    period_->setObjectName(QStringLiteral("PeriodCombo"));
    readEvery_ = new QLabel(QStringLiteral("Read &Every"), this);
    readEvery_->setBuddy(period_);
    minutes_ = new QLabel(QStringLiteral("Minutes."), this);

    readOnlyAt_ = new QLabel(QStringLiteral("Read Only &At"), this);
    atTime_ = MakeTimeFields(QStringLiteral("Read only at"), QStringLiteral("At"));
    readOnlyAt_->setBuddy(atTime_.Hour);

    timeLimit_ = new QCheckBox(QStringLiteral("Read only between the &hours of"), this);
    timeLimit_->setObjectName(QStringLiteral("TimeLimitBox"));
    startTime_ = MakeTimeFields(QStringLiteral("Start"), QStringLiteral("Start"));
    endTime_ = MakeTimeFields(QStringLiteral("End"), QStringLiteral("End"));

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Item:"), this), row, 0);
    grid->addWidget(itemNameLabel_, row++, 1, 1, 4);
    grid->addWidget(cityCaption_, row, 0);
    grid->addWidget(cityNameLabel_, row++, 1, 1, 4);
    grid->addWidget(typeCaption, row, 0);
    grid->addWidget(type_, row++, 1, 1, 4);
    grid->addWidget(readEvery_, row, 0);
    grid->addWidget(period_, row, 1);
    grid->addWidget(minutes_, row++, 2);
    grid->addWidget(readOnlyAt_, row, 0);
    grid->addWidget(atTime_.Hour, row, 1);
    grid->addWidget(atTime_.Minute, row++, 2);
    grid->addWidget(timeLimit_, row++, 0, 1, 5);
    grid->addWidget(startTime_.Hour, row, 1);
    grid->addWidget(startTime_.Minute, row, 2);
    grid->addWidget(new QLabel(QStringLiteral("and"), this), row, 3);
    grid->addWidget(endTime_.Hour, row, 4);
    grid->addWidget(endTime_.Minute, row++, 5);

    auto* whatToRead = new QPushButton(QStringLiteral("&What to Read"), this);
    connect(whatToRead, &QPushButton::clicked, this, &TEditAutoForm::WhatToRead);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TEditAutoForm::Ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(whatToRead);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(bottom);

    connect(type_, &QComboBox::currentIndexChanged, this, &TEditAutoForm::ApplyEnablingRule);
    connect(timeLimit_, &QCheckBox::toggled, this, &TEditAutoForm::ApplyEnablingRule);
}

TEditAutoForm::TimeFields TEditAutoForm::MakeTimeFields(const QString& name,
                                                        const QString& objectPrefix) {
    TimeFields fields{new QComboBox(this), new QComboBox(this)};
    for (int hour = 0; hour < 24; ++hour)
        fields.Hour->addItem(QString::number(hour));
    for (int minute = 0; minute < 60; minute += kMinuteStep)
        fields.Minute->addItem(QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0')));
    fields.Hour->setAccessibleName(name + QStringLiteral(", hour"));
    fields.Minute->setAccessibleName(name + QStringLiteral(", minutes"));
    fields.Hour->setObjectName(objectPrefix + QStringLiteral("Hour"));
    fields.Minute->setObjectName(objectPrefix + QStringLiteral("Minute"));
    return fields;
}

// Only times on the five-minute grid can ever be read: a stored time off it shows (and is
// saved on OK) as the grid time before it.
void TEditAutoForm::TimeFields::Show(int hhmm) const {
    const int hour = std::clamp(hhmm / 100, 0, 23);
    const int minute = std::clamp(hhmm - hhmm / 100 * 100, 0, 59);
    Hour->setCurrentIndex(hour);
    Minute->setCurrentIndex(minute / kMinuteStep);
}

int TEditAutoForm::TimeFields::Chosen() const {
    return Hour->currentIndex() * 100 + Minute->currentIndex() * kMinuteStep;
}

void TEditAutoForm::TimeFields::SetEnabled(bool enabled) const {
    Hour->setEnabled(enabled);
    Minute->setEnabled(enabled);
}

// A stored period that the list does not offer is added to it, so that OK keeps it.
void TEditAutoForm::ShowPeriod(int period) {
    if (period <= 0)
        period = kPeriods.front();
    period_->clear();
    std::vector<int> offered(kPeriods.begin(), kPeriods.end());
    if (std::find(offered.begin(), offered.end(), period) == offered.end())
        offered.insert(std::upper_bound(offered.begin(), offered.end(), period), period);
    for (int minutes : offered)
        period_->addItem(QString::number(minutes));
    period_->setCurrentText(QString::number(period));
}

void TEditAutoForm::Prepare(AutoItemClass& item, const std::string& cityKey) {
    item_ = &item;
    cityKey_ = cityKey;
    itemNameLabel_->setText(Latin1(item.ItemName));
    const QString city = CityText(cityKey);
    cityNameLabel_->setText(city);
    cityCaption_->setVisible(!city.isEmpty());
    cityNameLabel_->setVisible(!city.isEmpty());
    type_->setCurrentIndex(item.Type == AutoItemClass::atSpecific ? 1 : 0);
    ShowPeriod(item.Period);
    atTime_.Show(item.AtTime);
    startTime_.Show(item.StartTime);
    endTime_.Show(item.EndTime);
    timeLimit_->setChecked(item.TimeLimitEnabled);
    ApplyEnablingRule();
}

bool TEditAutoForm::Execute(AutoItemClass& item, const std::string& cityKey) {
    Prepare(item, cityKey);
    return exec() == QDialog::Accepted;
}

void TEditAutoForm::ApplyEnablingRule() {
    const bool periodic = type_->currentIndex() == 0;
    for (QWidget* control : {static_cast<QWidget*>(readEvery_), static_cast<QWidget*>(period_),
                             static_cast<QWidget*>(minutes_)})
        control->setEnabled(periodic);
    readOnlyAt_->setEnabled(!periodic);
    atTime_.SetEnabled(!periodic);
    timeLimit_->setEnabled(periodic);
    startTime_.SetEnabled(periodic && timeLimit_->isChecked());
    endTime_.SetEnabled(periodic && timeLimit_->isChecked());
}

void TEditAutoForm::Ok() {
    item_->Type =
        type_->currentIndex() != 0 ? AutoItemClass::atSpecific : AutoItemClass::atPeriodic;
    item_->Period = period_->currentText().toInt();
    item_->AtTime = atTime_.Chosen();
    item_->TimeLimitEnabled = timeLimit_->isChecked();
    item_->StartTime = startTime_.Chosen();
    item_->EndTime = endTime_.Chosen();
    item_->Enabled = true;
    accept();
}

void TEditAutoForm::WhatToRead() {
    TReadOptionsForm options(this);
    options.EditAutoItem(cityKey_, item_->ItemName);
}

} // namespace olv
