#pragma once

#include "platform/Timer.h"

#include <QTimer>

namespace olv {

// The platform timer over QTimer: fires on the thread that made it, from its event loop.
class QtTimer final : public Timer {
public:
    QtTimer();
    void Start(int intervalMs) override;
    void Stop() override;
    bool IsActive() const override;
    int Interval() const override;

private:
    QTimer timer_;
};

} // namespace olv
