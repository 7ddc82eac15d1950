#pragma once

#include "app/MyCitiesRows.h"

#include <QWidget>
#include <string>
#include <vector>

class QComboBox;
class QTimer;

namespace olv {

// The normal view's strip: the "My Cities:" drop-down (choosing shows the city's stored
// weather) and the "Recent Cities:" drop-down (choosing retrieves the city).
class DropDownStrip : public QWidget {
    Q_OBJECT
public:
    // A recent city is retrieved once the choice has rested this long, so that moving
    // through the list with the arrow keys does not retrieve every city passed.
    static constexpr int kRecentSettleMs = 600;

    explicit DropDownStrip(QWidget* parent = nullptr);

    // Refill; the entry shown before stays selected when it is still there.
    void FillMyCities(const std::vector<MyCitiesRow>& rows);
    void FillRecent(const std::vector<std::string>& keys);
    // The My Cities entry at index (none for -1) and the recent entry of key (none for "").
    void Select(int myCityIndex, const std::string& recentKey);

    QComboBox& MyCities() const { return *myCities_; }
    QComboBox& Recent() const { return *recent_; }

signals:
    void MyCityChosen(const std::string& key);
    void RecentChosen(const std::string& key);

private:
    static std::string KeyAt(const QComboBox& combo, int index);
    static void SelectKey(QComboBox& combo, const std::string& key);

    QComboBox* myCities_;
    QComboBox* recent_;
    QTimer* recentSettle_;
};

} // namespace olv
