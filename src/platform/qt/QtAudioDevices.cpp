#include "platform/qt/QtAudioDevices.h"

#include <QAudioDevice>
#include <QMediaDevices>

namespace olv {

std::vector<AudioDeviceInfo> QtAudioDevices::List() {
    std::vector<AudioDeviceInfo> devices;
    for (const QAudioDevice& device : QMediaDevices::audioOutputs()) {
        AudioDeviceInfo info;
        info.Id = device.id().toStdString();
        info.Description = device.description().toLatin1().toStdString();
        info.IsDefault = device.isDefault();
        info.MinSampleRate = device.minimumSampleRate();
        info.MaxSampleRate = device.maximumSampleRate();
        info.MinChannels = device.minimumChannelCount();
        info.MaxChannels = device.maximumChannelCount();
        const auto formats = device.supportedSampleFormats();
        info.SupportsUInt8 = formats.contains(QAudioFormat::UInt8);
        info.SupportsInt16 = formats.contains(QAudioFormat::Int16);
        devices.push_back(std::move(info));
    }
    return devices;
}

} // namespace olv
