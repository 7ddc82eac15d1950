#include "app/MyCitiesArea.h"

#include "app/QtText.h"
#include "app/WidgetParts.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace olv {
namespace {

// Qt's tree reports every change of its current row as a move of the keyboard focus, also
// when the program selects the city it shows while the focus is elsewhere: a screen reader
// would then read a row the user never went to. Only a tree that has the focus reports it.
class MyCitiesList final : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
        if (hasFocus()) {
            QTreeWidget::currentChanged(current, previous);
            return;
        }
        QAbstractItemView::currentChanged(current, previous);
        viewport()->update();
    }
};

} // namespace

MyCitiesArea::MyCitiesArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MyCitiesArea"));
    list_ = new MyCitiesList(this);
    list_->setAccessibleName(QStringLiteral("My Cities"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setHeaderLabels({QStringLiteral("City"), QStringLiteral("Temp"),
                            QStringLiteral("Humidity"), QStringLiteral("Conditions"),
                            QStringLiteral("Time Updated")});
    // At least as wide as the heading, which a larger font would otherwise cut.
    const int widths[] = {220, 40, 55, 158};
    for (int column = 0; column < 4; ++column)
        list_->setColumnWidth(column,
                              std::max(widths[column], list_->header()->sectionSizeHint(column)));
    list_->header()->setStretchLastSection(true);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!filling_ && item)
            emit CityChosen(FromQt(item->data(0, Qt::UserRole).toString()));
    });

    actions_.ReadConditions = WidgetParts::ContextAction(list_, QStringLiteral("Read &Conditions"));
    actions_.ReadForecast = WidgetParts::ContextAction(list_, QStringLiteral("Read &Forecast"));
    actions_.Update = WidgetParts::ContextAction(list_, QStringLiteral("&Update"));
    actions_.Remove = WidgetParts::ContextAction(list_, QStringLiteral("Re&move"));
    actions_.CityOptions = WidgetParts::ContextAction(list_, QStringLiteral("City Read &Options"));

    buttons_.UpdateAll = WidgetParts::Button(this, QStringLiteral("Update All"));
    buttons_.Summary = WidgetParts::Button(this, QStringLiteral(" Summary"));
    buttons_.CityOptions = WidgetParts::Button(this, QStringLiteral("City Options"));
    buttons_.Remove = WidgetParts::Button(this, QStringLiteral("Remove"));
    buttons_.Help = WidgetParts::Button(this, QStringLiteral("Help"),
                                        QStringLiteral("Audio Help: MyCities Summary Area"));

    QHBoxLayout* row = WidgetParts::ButtonRow(
        {buttons_.UpdateAll, buttons_.Summary, buttons_.CityOptions, buttons_.Remove},
        buttons_.Help);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 4);
    layout->setSpacing(4);
    layout->addWidget(list_, 1);
    layout->addLayout(row);
}

void MyCitiesArea::Fill(const std::vector<MyCitiesRow>& rows) {
    const QScopedValueRollback<bool> filling(filling_, true);
    const std::string selected = SelectedKey();
    rows_ = rows;
    list_->clear();
    for (const MyCitiesRow& row : rows_) {
        auto* item =
            new QTreeWidgetItem(list_, {ToQt(row.Caption), ToQt(row.Temperature),
                                        ToQt(row.Humidity), ToQt(row.Conditions), ToQt(row.Time)});
        item->setData(0, Qt::UserRole, ToQt(row.Key));
    }
    SelectKey(selected);
}

std::string MyCitiesArea::SelectedKey() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? std::string()
                              : FromQt(selected.front()->data(0, Qt::UserRole).toString());
}

void MyCitiesArea::SelectKey(const std::string& key) {
    const QScopedValueRollback<bool> filling(filling_, true);
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (FromQt(item->data(0, Qt::UserRole).toString()) == key) {
            list_->setCurrentItem(item);
            return;
        }
    }
    list_->clearSelection();
}

} // namespace olv
