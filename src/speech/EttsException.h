#pragma once

#include <stdexcept>
#include <string>

namespace olv {

// The speech controller refused a request ("TTS is not active", "Output directory does not
// exist"). The message is meant for the user; the controller's state is as it was.
class EttsException : public std::runtime_error {
public:
    explicit EttsException(const std::string& message) : std::runtime_error(message) {}
};

} // namespace olv
