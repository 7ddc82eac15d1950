#include "schedule/WallClock.h"

#include "weather/WeatherUtils.h"

#include <ctime>

namespace olv {

int ClockTime::Slot() const {
    return WeatherUtils::TimeCode(Hour, Minute);
}

ClockTime SystemClock::Now() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    ClockTime time;
    time.Date = (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
    time.Hour = local.tm_hour;
    time.Minute = local.tm_min;
    return time;
}

std::chrono::steady_clock::time_point SystemClock::Monotonic() const {
    return std::chrono::steady_clock::now();
}

const SystemClock& SystemClock::Instance() {
    static const SystemClock clock;
    return clock;
}

} // namespace olv
