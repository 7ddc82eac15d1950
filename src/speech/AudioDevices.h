#pragma once

#include "platform/AudioOutput.h"

#include <cstdint>
#include <string>
#include <vector>

namespace olv {

// The wave-out device data behind the audio device dialog, derived from what the sound server
// reports (platform/AudioOutput.h). Device number i is entry i of the server's output list;
// -1 is the default output.
class AudioDevices {
public:
    // The wave-out capability record. The server has no manufacturer or product numbers or
    // driver versions: those stay 0.
    struct Caps {
        uint16_t ManufacturerID = 0;
        uint16_t ProductID = 0;
        uint32_t DriverVersion = 0;
        std::string ProductName; // at most 31 characters
        uint32_t Formats = 0;    // standard format bits (FormatText)
        uint16_t Channels = 0;   // 1 or 2
        uint32_t Support = 0;    // support flags (SupportText)
    };

    static constexpr int kStandardFormats = 12;
    static constexpr size_t kMaxNameLength = 31;
    static constexpr uint32_t kSupportPitch = 1, kSupportPlaybackRate = 2, kSupportVolume = 4,
                              kSupportLeftRightVolume = 8, kSupportSync = 16,
                              kSupportSampleAccurate = 32;

    static int Count();
    // The capabilities of a device (-1: the default output's); false when there is no such
    // device.
    static bool GetCaps(int device, Caps& caps);
    static Caps CapsOf(const AudioDeviceInfo& info);

    // "11.025 kHz, Mono, 8-bit" ... for bit 0 to 11; empty beyond.
    static std::string FormatText(int bit);
    // One line per supported standard format, in bit order, separated by carriage returns.
    static std::string FormatsText(uint32_t formats);
    static std::string ChannelsText(uint16_t channels);
    static std::string SupportText(uint32_t support);
};

} // namespace olv
