#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace olv {

// A text that should have been a number was not. Scripts let it reach their caller.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const std::string& message) : std::runtime_error(message) {}

    static EConvertError NotAnInteger(std::string_view text) {
        return EConvertError("'" + std::string(text) + "' is not a valid integer value");
    }
};

} // namespace olv
