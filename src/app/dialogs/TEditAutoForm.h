#pragma once

#include <QDialog>
#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;

namespace olv {

class AutoItemClass;

// When one auto-read item is read: every so many minutes, or once a day at a set time, and
// perhaps only between two times of day. It edits an item its opener holds: OK writes the
// choices into the item and enables it, Cancel leaves the item as it was; the opener saves.
class TEditAutoForm : public QDialog {
    Q_OBJECT

public:
    static constexpr std::array<int, 9> kPeriods = {5, 10, 15, 20, 30, 40, 60, 90, 120};

    explicit TEditAutoForm(QWidget* parent = nullptr);

    // Shows item (not owned; it must outlive the form's use of it), read for cityKey (empty
    // for a summary item).
    void Prepare(AutoItemClass& item, const std::string& cityKey);
    // Prepare, then modal; true when OK changed the item.
    bool Execute(AutoItemClass& item, const std::string& cityKey);

private:
    // The hour and minute drop-downs of one time of day.
    struct TimeFields {
        QComboBox* Hour = nullptr;
        QComboBox* Minute = nullptr;
        void Show(int hhmm) const;
        int Chosen() const;
        void SetEnabled(bool enabled) const;
    };

    TimeFields MakeTimeFields(const QString& name, const QString& objectPrefix);
    void ShowPeriod(int period);
    void ApplyEnablingRule();
    void Ok();
    void WhatToRead();

    AutoItemClass* item_ = nullptr;
    std::string cityKey_;
    QLabel* itemNameLabel_ = nullptr;
    QLabel* cityCaption_ = nullptr;
    QLabel* cityNameLabel_ = nullptr;
    QComboBox* type_ = nullptr;
    QLabel* readEvery_ = nullptr;
    QComboBox* period_ = nullptr;
    QLabel* minutes_ = nullptr;
    QLabel* readOnlyAt_ = nullptr;
    TimeFields atTime_;
    QCheckBox* timeLimit_ = nullptr;
    TimeFields startTime_;
    TimeFields endTime_;
};

} // namespace olv
