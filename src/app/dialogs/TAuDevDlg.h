#pragma once

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace olv {

// Runs the audio device dialog: DeviceID in, the chosen device out.
//
// The window hands the speech controller a chooser, and its menu entry asks the controller,
// which then tries the device and stores it:
//   speech.OnChooseAudioDevice = TAuDevDlg::Chooser(window);
//   speech.ChooseAudioDevice();
class TAuDevDlg {
public:
    uint8_t DeviceKind = 1; // output devices
    int DeviceID = -1;      // -1: the system's default output

    // Shows the dialog with DeviceID selected; on OK stores the chosen device and returns true.
    bool Execute(QWidget* parent = nullptr);

    // The dialog as the speech controller asks for it: the chosen device, or none on Cancel.
    static std::function<std::optional<int>(int currentDevice)> Chooser(QWidget* parent);
};

} // namespace olv
