#pragma once

#include "speech/TttsSwitch.h"

namespace olv {

// A registered control or menu item: the role that decides in which states it is enabled, and
// the caller's switch (not owned; it must outlive its registration).
//
// Roles (enabled in: idle, paused, speaking, encoding):
//   0 start a reading   yes  -    -    -
//   1                   -    -    yes  -
//   2                   -    yes  -    -
//   3 pause / resume    -    yes  yes  -
//   4                   -    -    yes  -
//   5 stop              -    yes  yes  yes
struct TttsControl {
    int Role = 0;
    TttsSwitch* Control = nullptr;
};

// Menu items are registered and switched exactly like controls.
using TttsMenuItem = TttsControl;

} // namespace olv
