#pragma once

#include <chrono>

namespace olv {

// A moment of local time as the schedule sees it.
struct ClockTime {
    int Date = 0; // year * 10000 + month * 100 + day
    int Hour = 0;
    int Minute = 0;

    // The five-minute slot: hour * 100 + minute rounded down to a multiple of five
    // (14:37 gives 1435).
    int Slot() const;
};

// Where the schedule takes its time from, so that tests can run days of it in milliseconds.
class WallClock {
public:
    virtual ~WallClock() = default;
    // The local date and time; it may jump (sleep, daylight saving, the user setting it).
    virtual ClockTime Now() const = 0;
    // Time that only moves forward, for measuring how long a retrieval took.
    virtual std::chrono::steady_clock::time_point Monotonic() const = 0;
};

// The computer's own clock.
class SystemClock final : public WallClock {
public:
    ClockTime Now() const override;
    std::chrono::steady_clock::time_point Monotonic() const override;

    static const SystemClock& Instance();
};

// The computer's clock moved by a fixed offset. For tests of the whole program only: they
// bring a scheduled time near without waiting for it.
class OffsetClock final : public WallClock {
public:
    explicit OffsetClock(std::chrono::seconds offset) : offset_(offset) {}
    ClockTime Now() const override;
    std::chrono::steady_clock::time_point Monotonic() const override;

private:
    std::chrono::seconds offset_;
};

} // namespace olv
