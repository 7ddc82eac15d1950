#pragma once

#include "platform/Timer.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace olv::test {

// A timer whose ticks the test fires. Made through a ManualClock, which installs itself as the
// timer factory for its lifetime. Handlers may make or destroy timers, this one included: the
// registry of living timers is checked before each tick.
class ManualTimer final : public Timer {
public:
    using Registry = std::vector<ManualTimer*>;

    explicit ManualTimer(std::shared_ptr<Registry> registry) : registry_(std::move(registry)) {
        registry_->push_back(this);
    }
    ~ManualTimer() override {
        registry_->erase(std::remove(registry_->begin(), registry_->end(), this), registry_->end());
    }
    static bool Alive(const Registry& registry, const ManualTimer* timer) {
        return std::find(registry.begin(), registry.end(), timer) != registry.end();
    }

    void Start(int intervalMs) override {
        interval_ = intervalMs;
        elapsed_ = 0;
        active_ = true;
    }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    int Interval() const override { return interval_; }

    // Fires once if active, whatever the interval.
    void Fire() {
        if (auto handler = OnTimer; active_ && handler) // a copy: the handler may destroy us
            handler();
    }
    // Lets ms pass: fires once for every whole interval that ends within it.
    void Advance(int ms) {
        auto registry = registry_;
        for (elapsed_ += ms; active_ && interval_ > 0 && elapsed_ >= interval_;) {
            elapsed_ -= interval_;
            Fire();
            if (!Alive(*registry, this))
                return;
        }
    }

private:
    std::shared_ptr<Registry> registry_;
    int interval_ = 0;
    int elapsed_ = 0;
    bool active_ = false;
};

// Installs a factory of ManualTimers and restores the previous factory when it goes.
class ManualClock {
public:
    ManualClock() : registry_(std::make_shared<ManualTimer::Registry>()) {
        previous_ = SetTimerFactory(
            [registry = registry_] { return std::make_unique<ManualTimer>(registry); });
    }
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;
    ~ManualClock() { SetTimerFactory(std::move(previous_)); }

    // Fires every active timer once.
    void FireAll() {
        ForEachAlive([](ManualTimer& timer) { timer.Fire(); });
    }
    void Advance(int ms) {
        ForEachAlive([ms](ManualTimer& timer) { timer.Advance(ms); });
    }
    size_t TimerCount() const { return registry_->size(); }

private:
    template <typename Action> void ForEachAlive(Action action) {
        const ManualTimer::Registry timers = *registry_;
        for (ManualTimer* timer : timers)
            if (ManualTimer::Alive(*registry_, timer))
                action(*timer);
    }

    std::shared_ptr<ManualTimer::Registry> registry_;
    TimerFactory previous_;
};

} // namespace olv::test
