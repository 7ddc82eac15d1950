#pragma once

namespace olv {

// Moves the thermometer and the compass towards the values of the city shown, one step per
// tick of the animation timer: the thermometer by a degree, the compass by 2.5 degrees until
// it is within 3 degrees of its target.
class GaugeAnimation {
public:
    static constexpr int kIntervalMs = 50;
    static constexpr double kCompassStep = 2.5;
    static constexpr double kCompassCloseEnough = 3.0;

    void SetTargets(int temperature, double bearing);
    // Both gauges and their targets back to 0 (no city shown).
    void Reset();
    // One tick; false when neither gauge moved (the timer can stop).
    bool Step();

    int Temperature() const { return temperature_; }
    double Bearing() const { return bearing_; }
    int TemperatureTarget() const { return temperatureTarget_; }

private:
    int temperature_ = 0;
    int temperatureTarget_ = 0;
    double bearing_ = 0;
    double bearingTarget_ = 0;
};

} // namespace olv
