#pragma once

#include "speech/SpeechEngine.h"

#include <atomic>

namespace olv {

// The pitch, speed and volume of a speech component, set on the main thread and read by its
// synthesis thread at the start of every piece of text, so a change applies from the next one.
struct SpeechAttributes {
    std::atomic<int> Pitch{50};
    std::atomic<int> Speed{175};
    std::atomic<int> VolumeLeft{65535};
    std::atomic<int> VolumeRight{65535};

    // The engines speak mono: both channels' volumes are averaged.
    SynthParams Snapshot() const {
        return SynthParams{Pitch.load(), Speed.load(),
                           (VolumeLeft.load() + VolumeRight.load()) / 2};
    }
};

} // namespace olv
