#include "app/DropDownStrip.h"

#include "app/CityDisplay.h"
#include "app/ElidedComboBox.h"
#include "app/QtText.h"
#include "app/WidgetParts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>

namespace olv {
DropDownStrip::DropDownStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DropDownStrip"));
    myCities_ = new ElidedComboBox(this);
    recent_ = new ElidedComboBox(this);
    for (QComboBox* combo : {myCities_, recent_}) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(18);
    }
    recentSettle_ = new QTimer(this);
    recentSettle_->setSingleShot(true);
    recentSettle_->setInterval(kRecentSettleMs);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 4);
    layout->addWidget(WidgetParts::BuddyLabel(QStringLiteral("&My Cities:"), myCities_, this));
    layout->addWidget(myCities_, 1);
    layout->addSpacing(12);
    layout->addWidget(WidgetParts::BuddyLabel(QStringLiteral("Re&cent Cities:"), recent_, this));
    layout->addWidget(recent_, 1);

    connect(myCities_, &QComboBox::activated, this,
            [this](int index) { emit MyCityChosen(KeyAt(*myCities_, index)); });
    connect(recent_, &QComboBox::activated, recentSettle_, qOverload<>(&QTimer::start));
    connect(recentSettle_, &QTimer::timeout, this, [this] {
        if (recent_->currentIndex() >= 0)
            emit RecentChosen(KeyAt(*recent_, recent_->currentIndex()));
    });
}

std::string DropDownStrip::KeyAt(const QComboBox& combo, int index) {
    return FromQt(combo.itemData(index).toString());
}

void DropDownStrip::SelectKey(QComboBox& combo, const std::string& key) {
    combo.setCurrentIndex(key.empty() ? -1 : combo.findData(ToQt(key)));
}

void DropDownStrip::FillMyCities(const std::vector<MyCitiesRow>& rows) {
    const QSignalBlocker blocker(myCities_);
    const std::string shown = KeyAt(*myCities_, myCities_->currentIndex());
    myCities_->clear();
    for (const MyCitiesRow& row : rows)
        myCities_->addItem(ToQt(row.Caption), ToQt(row.Key));
    SelectKey(*myCities_, shown);
}

void DropDownStrip::FillRecent(const std::vector<std::string>& keys) {
    const QSignalBlocker blocker(recent_);
    const std::string shown = KeyAt(*recent_, recent_->currentIndex());
    recent_->clear();
    for (const std::string& key : keys)
        recent_->addItem(ToQt(ThreePartName(key)), ToQt(key));
    SelectKey(*recent_, shown);
}

void DropDownStrip::Select(int myCityIndex, const std::string& recentKey) {
    const QSignalBlocker myCitiesBlocker(myCities_);
    const QSignalBlocker recentBlocker(recent_);
    myCities_->setCurrentIndex(myCityIndex < myCities_->count() ? myCityIndex : -1);
    SelectKey(*recent_, recentKey);
}

} // namespace olv
