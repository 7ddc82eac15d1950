#pragma once

#include "speech/TGUID.h"

namespace olv {

// The limits and the current value of one attribute of a mode (-1 when not known).
struct AttributeRange {
    int Min = -1;
    int Max = -1;
    int Current = -1;
};

// What a freshly opened mode reports for its attributes.
struct ModeAttributes {
    AttributeRange Pitch;
    AttributeRange Speed;
    AttributeRange VolumeLeft;
    AttributeRange VolumeRight;
};

// Opens a mode on a speech component of its own, only to read its attribute limits and
// defaults. The component plays to a destination that discards everything, so no sound
// device is needed and none is held.
class ModeAttributeReader {
public:
    // Throws ESpeechError when the mode is not installed or cannot be opened.
    static ModeAttributes Read(const TGUID& modeId);
};

} // namespace olv
