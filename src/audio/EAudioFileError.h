#pragma once

#include <stdexcept>
#include <string>

namespace olv {

// A sound file could not be read or written, or a setting of the audio writer was refused.
// The message is meant for the user.
class EAudioFileError : public std::runtime_error {
public:
    explicit EAudioFileError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace olv
