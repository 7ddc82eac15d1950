#pragma once

#include "speech/TttsSwitch.h"

#include <QPointer>

class QAction;
class QWidget;

namespace olv {

// A button or a menu entry that the speech controller enables and disables with its state.
class WidgetSwitch final : public TttsSwitch {
public:
    explicit WidgetSwitch(QWidget* widget) : widget_(widget) {}
    void SetEnabled(bool enabled) override;

private:
    QPointer<QWidget> widget_;
};

class ActionSwitch final : public TttsSwitch {
public:
    explicit ActionSwitch(QAction* action) : action_(action) {}
    void SetEnabled(bool enabled) override;

private:
    QPointer<QAction> action_;
};

} // namespace olv
