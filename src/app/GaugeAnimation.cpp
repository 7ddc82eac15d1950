#include "app/GaugeAnimation.h"

namespace olv {

void GaugeAnimation::SetTargets(int temperature, double bearing) {
    temperatureTarget_ = temperature;
    bearingTarget_ = bearing;
}

void GaugeAnimation::Reset() {
    *this = GaugeAnimation();
}

bool GaugeAnimation::Step() {
    bool moved = false;
    if (temperature_ != temperatureTarget_) {
        temperature_ += temperature_ > temperatureTarget_ ? -1 : 1;
        moved = true;
    }
    if (bearingTarget_ - bearing_ >= kCompassCloseEnough) {
        bearing_ += kCompassStep;
        moved = true;
    } else if (bearing_ - bearingTarget_ >= kCompassCloseEnough) {
        bearing_ -= kCompassStep;
        moved = true;
    }
    return moved;
}

} // namespace olv
