#pragma once

namespace olv {

// A control or menu item of the caller's that the speech controller enables and disables with
// its state (see TBaseTTS::AddControl). The window wraps its buttons and actions in one of
// these, so that the controller never needs to know about widgets.
class TttsSwitch {
public:
    virtual ~TttsSwitch() = default;
    virtual void SetEnabled(bool enabled) = 0;
};

} // namespace olv
