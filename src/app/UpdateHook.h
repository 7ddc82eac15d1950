#pragma once

namespace olv {

// When the window checks for new data files and program versions.
enum class UpdateOccasion {
    Requested, // "&Check For Upgrade"
    Automatic, // before each Update All; the check decides for itself whether it is due
    FirstRun,  // once the window is up, while the first-time marker is set
};

// The update check, plugged into the window with TOVForm::SetUpdateCheck.
class UpdateCheck {
public:
    virtual ~UpdateCheck() = default;
    virtual void Run(UpdateOccasion occasion) = 0;
    // Exit: ends a check in progress.
    virtual void Cancel() = 0;
};

} // namespace olv
