#pragma once

#include "platform/AudioOutput.h"

#include <vector>

namespace olv {

// The output devices as QMediaDevices reports them, read afresh on every call.
class QtAudioDevices {
public:
    static std::vector<AudioDeviceInfo> List();
};

} // namespace olv
