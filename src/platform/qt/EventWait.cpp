#include "platform/qt/EventWait.h"

#include <QEventLoop>
#include <QTimer>

namespace olv {

bool EventWait::Until(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    if (done())
        return true;
    // The deadline is an event of its own, so that a wait with nothing else to do still ends.
    bool expired = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, [&expired] { expired = true; });
    deadline.start(timeout);
    QEventLoop loop;
    while (!expired && !done())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

void EventWait::For(std::chrono::milliseconds time) {
    Until([] { return false; }, time);
}

} // namespace olv
