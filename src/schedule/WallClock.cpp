#include "schedule/WallClock.h"

#include "weather/WeatherUtils.h"

#include <ctime>

namespace olv {

int ClockTime::Slot() const {
    return WeatherUtils::TimeCode(Hour, Minute);
}

namespace {

ClockTime LocalTime(std::time_t at) {
    std::tm local{};
    localtime_r(&at, &local);
    ClockTime time;
    time.Date = (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
    time.Hour = local.tm_hour;
    time.Minute = local.tm_min;
    return time;
}

} // namespace

ClockTime SystemClock::Now() const {
    return LocalTime(std::time(nullptr));
}

std::chrono::steady_clock::time_point SystemClock::Monotonic() const {
    return std::chrono::steady_clock::now();
}

const SystemClock& SystemClock::Instance() {
    static const SystemClock clock;
    return clock;
}

ClockTime OffsetClock::Now() const {
    return LocalTime(std::time(nullptr) + std::time_t(offset_.count()));
}

std::chrono::steady_clock::time_point OffsetClock::Monotonic() const {
    return std::chrono::steady_clock::now();
}

} // namespace olv
