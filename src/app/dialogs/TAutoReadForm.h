#pragma once

#include "schedule/AutoItemClass.h"

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QPushButton;

namespace olv {

// "Automatic Read Settings": the seven auto-read items, two summary items that read every My
// City and five city items that read one, each switched on or off, read aloud or to a file.
// "When to Read" edits an item's timing, "What to Read" its reading options. OK writes the
// seven items to "Auto.chl" in one replacement of the file, keeping when each last fired;
// Cancel leaves the file as it was. (The reading options are saved by their own dialog.)
class TAutoReadForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRowCount = 7;

    struct Row {
        QCheckBox* Enable = nullptr;
        QComboBox* City = nullptr; // the My Cities; none on summary rows
        QPushButton* WhatToRead = nullptr;
        QPushButton* WhenToRead = nullptr;
        QCheckBox* ToFile = nullptr;
    };

    // The My Cities by key, in list order, with the names the window shows them by.
    TAutoReadForm(std::vector<std::string> cityKeys, const std::vector<std::string>& cityNames,
                  QWidget* parent = nullptr);

    const Row& RowAt(int row) const { return rows_.at(size_t(row)); }
    // The row's city key: the My City chosen in its drop-down; empty for summary rows.
    std::string CityKeyOf(int row) const;

    void WhatToRead(int row);
    void WhenToRead(int row);

private:
    void AddRow(int row, QGridLayout& grid, int gridRow, const std::vector<std::string>& cityNames);
    void ApplyEnablingRule();
    void Ok();

    std::vector<std::string> cityKeys_;
    std::array<Row, kRowCount> rows_{};
    std::array<AutoItemClass, kRowCount> items_{};
};

} // namespace olv
