#include "speech/TAudioDeviceList.h"

#include "speech/AudioDevices.h"
#include "util/Strings.h"

namespace olv {

std::vector<TAudioDeviceList::Entry> TAudioDeviceList::Entries() {
    std::vector<Entry> entries;
    const std::vector<AudioDeviceInfo> devices = ListAudioDevices();
    if (devices.empty())
        return entries;
    entries.push_back(Entry{kDefaultEntry, -1});
    for (size_t device = 0; device < devices.size(); ++device) {
        const AudioDevices::Caps caps = AudioDevices::CapsOf(devices[device]);
        if (caps.Formats != 0)
            entries.push_back(Entry{caps.ProductName, static_cast<int>(device)});
    }
    return entries;
}

int TAudioDeviceList::EntryIndexOf(const std::vector<Entry>& entries, int deviceId) {
    // Only numbers from -1 to the device count minus one have entries.
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].DeviceID == deviceId)
            return static_cast<int>(i);
    return -1;
}

bool TAudioDeviceList::DetailsOf(int deviceId, Details& details) {
    AudioDevices::Caps caps;
    if (!AudioDevices::GetCaps(deviceId, caps))
        return false;
    details.DeviceID = deviceId == -1 ? kDefaultDeviceText : Decimal(deviceId);
    details.ManufacturerID = Decimal(caps.ManufacturerID);
    details.ProductID = Decimal(caps.ProductID);
    details.Version = Decimal(caps.DriverVersion);
    details.Formats = AudioDevices::FormatsText(caps.Formats);
    details.Channels = AudioDevices::ChannelsText(caps.Channels);
    details.Supports = AudioDevices::SupportText(caps.Support);
    return true;
}

} // namespace olv
