#include "platform/qt/QtTimer.h"

namespace olv {

QtTimer::QtTimer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // A copy: the handler may destroy this timer.
        if (auto handler = OnTimer)
            handler();
    });
}

void QtTimer::Start(int intervalMs) {
    timer_.start(intervalMs);
}

void QtTimer::Stop() {
    timer_.stop();
}

bool QtTimer::IsActive() const {
    return timer_.isActive();
}

int QtTimer::Interval() const {
    return timer_.interval();
}

} // namespace olv
