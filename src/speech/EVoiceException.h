#pragma once

#include <stdexcept>
#include <string>

namespace olv {

// A voice refused a pitch, speed or volume outside its limits ("Minimum pitch for this voice
// is 1"). The voice keeps the value it had.
class EVoiceException : public std::runtime_error {
public:
    explicit EVoiceException(const std::string& message) : std::runtime_error(message) {}
};

} // namespace olv
