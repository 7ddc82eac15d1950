#include "app/dialogs/TAuDevDlg.h"

#include "app/dialogs/TMyAudioDeviceDlg.h"

namespace olv {

bool TAuDevDlg::Execute(QWidget* parent) {
    TMyAudioDeviceDlg dialog(parent);
    dialog.SetDeviceKind(DeviceKind);
    dialog.Preselect(DeviceID);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    DeviceID = dialog.SelectedDevice();
    return true;
}

std::function<std::optional<int>(int)> TAuDevDlg::Chooser(QWidget* parent) {
    return [parent](int currentDevice) -> std::optional<int> {
        TAuDevDlg chooser;
        chooser.DeviceID = currentDevice;
        if (!chooser.Execute(parent))
            return std::nullopt;
        return chooser.DeviceID;
    };
}

} // namespace olv
