#include "app/dialogs/TAutoReadForm.h"

#include "app/dialogs/DialogSupport.h"
#include "app/dialogs/Prompter.h"
#include "app/dialogs/TEditAutoForm.h"
#include "app/dialogs/TReadOptionsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <utility>

namespace olv {
namespace {

struct RowSpec {
    const char* caption;
    const char* itemName;
};

// The summary rows come first.
constexpr RowSpec kRows[TAutoReadForm::kRowCount] = {
    {"Summary Item 1", "Summary1"}, {"Summary Item 2", "Summary2"}, {"City Item 1", "City1"},
    {"City Item 2", "City2"},       {"City Item 3", "City3"},       {"City Item 4", "City4"},
    {"City Item 5", "City5"},
};
constexpr int kSummaryRows = 2;

enum Column { kCaption, kEnable, kCityCaption, kCity, kWhatToRead, kWhenToRead, kToFile };

QLabel* Explanation(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

TAutoReadForm::TAutoReadForm(std::vector<std::string> cityKeys,
                             const std::vector<std::string>& cityNames, QWidget* parent)
    : QDialog(parent), cityKeys_(std::move(cityKeys)) {
    setWindowTitle(QStringLiteral("Automatic Read Settings"));
    auto* grid = new QGridLayout;
    int gridRow = 0;
    grid->addWidget(Explanation(QStringLiteral("You can set up to 2 summary items. A summary item "
                                               "reads every city of your My Cities list."),
                                this),
                    gridRow++, 0, 1, kToFile + 1);
    for (int row = 0; row < kRowCount; ++row) {
        if (row == kSummaryRows)
            grid->addWidget(Explanation(QStringLiteral("A city item reads one city of your My "
                                                       "Cities list, chosen beside it."),
                                        this),
                            gridRow++, 0, 1, kToFile + 1);
        AddRow(row, *grid, gridRow++, cityNames);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TAutoReadForm::Ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addWidget(buttons);
    ApplyEnablingRule();
}

void TAutoReadForm::AddRow(int row, QGridLayout& grid, int gridRow,
                           const std::vector<std::string>& cityNames) {
    const QString caption = QString::fromLatin1(kRows[row].caption);
    Row& controls = rows_[size_t(row)];
    AutoItemClass& item = items_[size_t(row)];
    item.LoadItem(kRows[row].itemName, "");

    grid.addWidget(new QLabel(caption + QLatin1Char(':'), this), gridRow, kCaption);
    controls.Enable = new QCheckBox(QStringLiteral("Enable"), this);
    controls.Enable->setAccessibleName(QStringLiteral("Enable ") + caption);
    controls.Enable->setChecked(item.Enabled);
    connect(controls.Enable, &QCheckBox::toggled, this, &TAutoReadForm::ApplyEnablingRule);
    grid.addWidget(controls.Enable, gridRow, kEnable);
    if (row >= kSummaryRows) {
        controls.City = new QComboBox(this);
        controls.City->setAccessibleName(QStringLiteral("City of ") + caption);
        for (const std::string& name : cityNames)
            controls.City->addItem(Latin1(name));
        // A city no longer among My Cities shows the first one.
        const auto bound = std::find(cityKeys_.begin(), cityKeys_.end(), item.CityKey);
        if (controls.City->count() > 0)
            controls.City->setCurrentIndex(
                bound == cityKeys_.end() ? 0 : int(bound - cityKeys_.begin()));
        grid.addWidget(new QLabel(QStringLiteral("City:"), this), gridRow, kCityCaption);
        grid.addWidget(controls.City, gridRow, kCity);
    }
    controls.WhatToRead = new QPushButton(QStringLiteral("What to Read"), this);
    controls.WhatToRead->setAccessibleName(QStringLiteral("What to Read, ") + caption);
    connect(controls.WhatToRead, &QPushButton::clicked, this, [this, row] { WhatToRead(row); });
    grid.addWidget(controls.WhatToRead, gridRow, kWhatToRead);
    controls.WhenToRead = new QPushButton(QStringLiteral("When to Read"), this);
    controls.WhenToRead->setAccessibleName(QStringLiteral("When to Read, ") + caption);
    connect(controls.WhenToRead, &QPushButton::clicked, this, [this, row] { WhenToRead(row); });
    grid.addWidget(controls.WhenToRead, gridRow, kWhenToRead);
    controls.ToFile = new QCheckBox(QStringLiteral("Read To File"), this);
    controls.ToFile->setAccessibleName(QStringLiteral("Read To File, ") + caption);
    controls.ToFile->setChecked(item.ToFile);
    grid.addWidget(controls.ToFile, gridRow, kToFile);
}

void TAutoReadForm::ApplyEnablingRule() {
    for (const Row& row : rows_) {
        const bool enabled = row.Enable->isChecked();
        row.WhatToRead->setEnabled(enabled);
        row.WhenToRead->setEnabled(enabled);
        row.ToFile->setEnabled(enabled);
        if (row.City)
            row.City->setEnabled(enabled);
    }
}

std::string TAutoReadForm::CityKeyOf(int row) const {
    const QComboBox* city = RowAt(row).City;
    const int index = city ? city->currentIndex() : -1;
    if (index < 0 || size_t(index) >= cityKeys_.size())
        return {};
    return cityKeys_[size_t(index)];
}

void TAutoReadForm::WhatToRead(int row) {
    TReadOptionsForm options(this);
    options.EditAutoItem(CityKeyOf(row), kRows[row].itemName);
}

void TAutoReadForm::WhenToRead(int row) {
    TEditAutoForm timing(this);
    timing.Execute(items_.at(size_t(row)), CityKeyOf(row));
}

// The scheduler may have fired an item while the form was open: when each item last fired is
// taken from the file as it is now, so that no item fires twice for one slot.
void TAutoReadForm::Ok() {
    std::vector<AutoItemClass> items;
    for (int row = 0; row < kRowCount; ++row) {
        AutoItemClass item = items_[size_t(row)];
        AutoItemClass stored;
        stored.LoadItem(item.ItemName, "");
        item.LastAuto = stored.LastAuto;
        item.LastAutoDate = stored.LastAutoDate;
        item.Enabled = rows_[size_t(row)].Enable->isChecked();
        item.ToFile = rows_[size_t(row)].ToFile->isChecked();
        // A disabled row, or one with no My City to choose, keeps the stored city.
        const std::string cityKey = CityKeyOf(row);
        if (item.Enabled && !cityKey.empty())
            item.CityKey = cityKey;
        items.push_back(std::move(item));
    }
    try {
        AutoItemClass::SaveItems(items);
    } catch (const std::exception& error) {
        Tell(this, QStringLiteral("The automatic read settings could not be saved: ") +
                       Latin1(error.what()));
        return;
    }
    accept();
}

} // namespace olv
