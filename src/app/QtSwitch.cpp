#include "app/QtSwitch.h"

#include <QAction>
#include <QWidget>

namespace olv {

void WidgetSwitch::SetEnabled(bool enabled) {
    if (widget_)
        widget_->setEnabled(enabled);
}

void ActionSwitch::SetEnabled(bool enabled) {
    if (action_)
        action_->setEnabled(enabled);
}

} // namespace olv
