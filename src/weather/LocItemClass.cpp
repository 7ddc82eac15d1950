#include "weather/LocItemClass.h"

#include "weather/WeatherUtils.h"

namespace olv {

std::string LocItemClass::Region() const {
    return WeatherUtils::FirstField(Key);
}

std::string LocItemClass::State() const {
    return WeatherUtils::SecondField(Key);
}

} // namespace olv
