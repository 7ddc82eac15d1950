#include "speech/AudioDevices.h"

namespace olv {
namespace {

constexpr const char* kFormatTexts[AudioDevices::kStandardFormats] = {
    "11.025 kHz, Mono, 8-bit",    "11.025 kHz, Stereo, 8-bit", "11.025 kHz, Mono, 16-bit",
    "11.025 kHz, Stereo, 16-bit", "22.05 kHz, Mono, 8-bit ",   "22.05 kHz, Stereo, 8-bit",
    "22.05 kHz, Mono, 16-bit",    "22.05 kHz, Stereo, 16-bit", "44.1 kHz, Mono, 8-bit",
    "44.1 kHz, Stereo, 8-bit",    "44.1 kHz, Mono, 16-bit",    "44.1 kHz, Stereo, 16-bit",
};

// Bit order: rate (11025, 22050, 44100), then channels (mono, stereo), then sample size.
constexpr int kRates[] = {11025, 22050, 44100};

struct SupportText {
    uint32_t Flag;
    const char* Text;
};

constexpr SupportText kSupportTexts[] = {
    {AudioDevices::kSupportLeftRightVolume, "Supports separate left and right volume control. "},
    {AudioDevices::kSupportPitch, "Supports pitch control. "},
    {AudioDevices::kSupportPlaybackRate, "Support playback rate control. "},
    {AudioDevices::kSupportSync,
     "The driver is synchronous and will block while playing a buffer. "},
    {AudioDevices::kSupportVolume, "Supports volume control. "},
    {AudioDevices::kSupportSampleAccurate, "Returns sample-accurate position information."},
};

bool Within(int value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

int AudioDevices::Count() {
    return static_cast<int>(ListAudioDevices().size());
}

AudioDevices::Caps AudioDevices::CapsOf(const AudioDeviceInfo& info) {
    Caps caps;
    caps.ProductName = info.Description.substr(0, kMaxNameLength);
    for (int bit = 0; bit < kStandardFormats; ++bit) {
        int rate = kRates[bit / 4];
        int channels = bit % 2 + 1;
        bool sixteenBit = (bit / 2) % 2 == 1;
        if (Within(rate, info.MinSampleRate, info.MaxSampleRate) &&
            Within(channels, info.MinChannels, info.MaxChannels) &&
            (sixteenBit ? info.SupportsInt16 : info.SupportsUInt8))
            caps.Formats |= 1u << bit;
    }
    caps.Channels = info.MaxChannels >= 2 ? 2 : 1;
    // Every stream has a volume of its own; there is no pitch or rate control.
    caps.Support = kSupportVolume;
    return caps;
}

bool AudioDevices::GetCaps(int device, Caps& caps) {
    auto devices = ListAudioDevices();
    if (device == -1) {
        for (const AudioDeviceInfo& info : devices) {
            if (info.IsDefault) {
                caps = CapsOf(info);
                return true;
            }
        }
        device = 0; // no device says it is the default: the first one plays
    }
    if (device < 0 || device >= static_cast<int>(devices.size()))
        return false;
    caps = CapsOf(devices[static_cast<size_t>(device)]);
    return true;
}

std::string AudioDevices::FormatText(int bit) {
    return bit >= 0 && bit < kStandardFormats ? kFormatTexts[bit] : "";
}

std::string AudioDevices::FormatsText(uint32_t formats) {
    std::string text;
    for (int bit = 0; bit < kStandardFormats; ++bit) {
        if ((formats & (1u << bit)) == 0)
            continue;
        if (!text.empty())
            text += '\r';
        text += kFormatTexts[bit];
    }
    return text;
}

std::string AudioDevices::ChannelsText(uint16_t channels) {
    return channels == 1 ? "Mono" : channels == 2 ? "Stereo" : "";
}

std::string AudioDevices::SupportText(uint32_t support) {
    std::string text;
    for (const auto& entry : kSupportTexts)
        if (support & entry.Flag)
            text += entry.Text;
    return text;
}

} // namespace olv
