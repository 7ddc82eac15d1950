#include "platform/Timer.h"

#include <utility>

namespace olv {
namespace {

// Used when no factory is installed: keeps its state but never fires.
class InertTimer final : public Timer {
public:
    void Start(int intervalMs) override {
        interval_ = intervalMs;
        active_ = true;
    }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    int Interval() const override { return interval_; }

private:
    int interval_ = 0;
    bool active_ = false;
};

TimerFactory& Factory() {
    static TimerFactory factory;
    return factory;
}
} // namespace

std::unique_ptr<Timer> MakeTimer() {
    if (auto& factory = Factory())
        return factory();
    return std::make_unique<InertTimer>();
}

TimerFactory SetTimerFactory(TimerFactory factory) {
    return std::exchange(Factory(), std::move(factory));
}

} // namespace olv
