#pragma once

#include <stdexcept>
#include <string>

namespace olv {

// A request of the HTTP client failed; the message is the text shown to the user
// ("Not Found", "Connection timed out", ...).
class EHttpError : public std::runtime_error {
public:
    explicit EHttpError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace olv
