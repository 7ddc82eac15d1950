#pragma once

#include <string>
#include <utility>

namespace olv {

// One city of the catalogue (or a city chosen by ZIP code, whose URL is "ZIP").
class LocItemClass {
public:
    LocItemClass() = default;
    LocItemClass(std::string name, std::string key, std::string url)
        : Name(std::move(name)), Key(std::move(key)), URL(std::move(url)) {}

    // The key before its first "|".
    std::string Region() const;
    // The key between its first and second "|".
    std::string State() const;

    std::string Name; // as shown and spoken
    std::string Key;  // region + "|" + state + "|" + city
    std::string URL;  // the city's weather page
};

} // namespace olv
