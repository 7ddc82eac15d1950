#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>

class QLabel;
class QListWidget;

namespace olv {

// The sound output devices, with the capabilities of the highlighted one. The first entry is
// the system's default output (device number -1); then each device that plays a standard
// format. The list is read from the sound server each time the dialog is shown. OK (or a
// double click) gives the chosen device number; -1 when the default or nothing is chosen.
class TMyAudioDeviceDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kDefaultCaption = "System default output";

    // Detail rows, in the order shown.
    enum Detail { DeviceID, ManufacturerID, ProductID, Version, Formats, Channels, Supports };

    explicit TMyAudioDeviceDlg(QWidget* parent = nullptr);

    // 1 or 5: output devices (the program's); 2 to 4 would be input devices, which it never
    // offers, so their list stays empty.
    void SetDeviceKind(uint8_t kind) { deviceKind_ = kind; }
    // The device to select when the list is filled (-1: the default output).
    void Preselect(int device) { preselected_ = device; }
    // Fills the list and selects the preselected device; done on showing.
    void Prepare();

    int SelectedDevice() const;
    QListWidget* DeviceList() const { return list_; }
    QString DetailText(Detail detail) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowDetails();

    uint8_t deviceKind_ = 1;
    int preselected_ = -1;
    QListWidget* list_ = nullptr;
    QLabel* emptyNote_ = nullptr;
    std::array<QLabel*, 7> details_{};
};

} // namespace olv
