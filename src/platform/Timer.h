#pragma once

#include <functional>
#include <memory>

namespace olv {

// A repeating timer on the main thread. The application backs it with QTimer; tests use a
// manual clock (tests/support/ManualTimer.h) so that timed behaviour runs without waiting.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    virtual int Interval() const = 0;

    std::function<void()> OnTimer;
};

using TimerFactory = std::function<std::unique_ptr<Timer>()>;

// Makes a timer with the installed factory; without one, a timer that never fires.
std::unique_ptr<Timer> MakeTimer();
TimerFactory SetTimerFactory(TimerFactory factory);

} // namespace olv
