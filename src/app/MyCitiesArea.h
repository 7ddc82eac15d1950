#pragma once

#include "app/MyCitiesRows.h"

#include <QWidget>
#include <string>
#include <vector>

class QAction;
class QPushButton;
class QTreeWidget;

namespace olv {

// The My Cities view's area: the list of My Cities with their last weather, its buttons and
// its context menu.
class MyCitiesArea : public QWidget {
    Q_OBJECT
public:
    struct Buttons {
        QPushButton* UpdateAll;
        QPushButton* Summary;
        QPushButton* CityOptions;
        QPushButton* Remove;
        QPushButton* Help;
    };
    struct Actions {
        QAction* ReadConditions;
        QAction* ReadForecast;
        QAction* Update;
        QAction* Remove;
        QAction* CityOptions;
    };

    explicit MyCitiesArea(QWidget* parent = nullptr);

    const Buttons& Button() const { return buttons_; }
    const Actions& Action() const { return actions_; }

    // Refills the list; the row of the key selected before stays selected.
    void Fill(const std::vector<MyCitiesRow>& rows);
    const std::vector<MyCitiesRow>& Rows() const { return rows_; }
    // The key of the selected row; empty when none is.
    std::string SelectedKey() const;
    // Selects the row of key (none when it is not a My City) without reporting a choice.
    void SelectKey(const std::string& key);
    QTreeWidget& List() const { return *list_; }

signals:
    // The user selected a row.
    void CityChosen(const std::string& key);

private:
    QTreeWidget* list_;
    Buttons buttons_{};
    Actions actions_{};
    std::vector<MyCitiesRow> rows_;
    bool filling_ = false;
};

} // namespace olv
