// The wave-out device data derived from what the sound server reports. The device list here
// is given by the test in the server's terms (a real server's list is checked in
// BaseTTSQtTest, an empty one in NoSoundServerQtTest).

#include "speech/AudioDevices.h"

#include <gtest/gtest.h>

namespace olv::test {
namespace {

// As PulseAudio reports a null sink.
AudioDeviceInfo PulseSink(std::string description, bool isDefault = false) {
    AudioDeviceInfo info;
    info.Id = "sink";
    info.Description = std::move(description);
    info.IsDefault = isDefault;
    info.MinSampleRate = 1;
    info.MaxSampleRate = 384000;
    info.MinChannels = 1;
    info.MaxChannels = 32;
    info.SupportsUInt8 = info.SupportsInt16 = true;
    return info;
}

class AudioDevicesTest : public ::testing::Test {
protected:
    void Serve(std::vector<AudioDeviceInfo> devices) {
        SetAudioDeviceLister([devices] { return devices; });
    }
    void TearDown() override { SetAudioDeviceLister(nullptr); }
};

TEST_F(AudioDevicesTest, AFullRangeDeviceHasEveryStandardFormat) {
    Serve(
        {PulseSink("Built-in Audio Analog Stereo of a rather long name"), PulseSink("USB", true)});
    AudioDevices::Caps caps;
    ASSERT_TRUE(AudioDevices::GetCaps(0, caps));
    EXPECT_EQ(caps.ProductName, "Built-in Audio Analog Stereo of");
    EXPECT_EQ(caps.Formats, 0xFFFu);
    EXPECT_EQ(AudioDevices::ChannelsText(caps.Channels), "Stereo");
    EXPECT_EQ(AudioDevices::SupportText(caps.Support), "Supports volume control. ");
    // The default device's own data stands for -1.
    ASSERT_TRUE(AudioDevices::GetCaps(-1, caps));
    EXPECT_EQ(caps.ProductName, "USB");
    EXPECT_FALSE(AudioDevices::GetCaps(2, caps));
}

TEST_F(AudioDevicesTest, FormatsFollowRatesChannelsAndSampleSizes) {
    AudioDeviceInfo mono16 = PulseSink("Mono");
    mono16.MaxChannels = 1;
    mono16.SupportsUInt8 = false;
    mono16.MinSampleRate = 22050;
    AudioDevices::Caps caps = AudioDevices::CapsOf(mono16);
    EXPECT_EQ(caps.Formats, (1u << 6) | (1u << 10));
    EXPECT_EQ(AudioDevices::FormatsText(caps.Formats),
              "22.05 kHz, Mono, 16-bit\r44.1 kHz, Mono, 16-bit");
    EXPECT_EQ(AudioDevices::ChannelsText(caps.Channels), "Mono");
    EXPECT_EQ(AudioDevices::FormatText(4), "22.05 kHz, Mono, 8-bit ");
    EXPECT_EQ(AudioDevices::FormatText(12), "");
}

} // namespace
} // namespace olv::test
