#pragma once

#include <string>
#include <vector>

namespace olv {

// What the audio device dialog shows: its entries (the default output first, then each output
// device that plays at least one standard format, in device-number order) and the details of
// a highlighted entry. Read afresh from the sound server on every call.
class TAudioDeviceList {
public:
    static constexpr const char* kDefaultEntry = "Wave_Mapper (MS Default)";
    static constexpr const char* kDefaultDeviceText = "-1 (Wave_mapper)";

    struct Entry {
        std::string Caption; // the device's product name, at most 31 characters
        int DeviceID = -1;   // -1 for the default entry
    };

    // The texts of the details labels.
    struct Details {
        std::string DeviceID;
        std::string ManufacturerID;
        std::string ProductID;
        std::string Version;
        std::string Formats; // one line per standard format, separated by carriage returns
        std::string Channels;
        std::string Supports;
    };

    // Empty when there is no output device at all.
    static std::vector<Entry> Entries();
    // The entry to select for a device number: its index in entries, or -1 when the number is
    // outside -1 to the device count minus one or the device is not listed.
    static int EntryIndexOf(const std::vector<Entry>& entries, int deviceId);
    // False (details unchanged) when the device's capabilities cannot be read.
    static bool DetailsOf(int deviceId, Details& details);
};

} // namespace olv
