// The device list as the real PulseAudio test server reports it (tools/run-tests starts it
// with the null sinks "olvtest", the default, and "second").

#include "platform/AudioOutput.h"
#include "speech/AudioDevices.h"
#include "speech/support/QtTestSupport.h"
#include "speech/support/SoundServer.h"

#include <gtest/gtest.h>

namespace olv::test {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

TEST(SoundDevicesQtTest, TheServersSinksAreTheDevices) {
    if (!SoundServer::Available()) {
        if (SoundServer::Required())
            FAIL() << "the test sound server with sinks olvtest and second is not running";
        GTEST_SKIP() << "no test sound server (tools/run-tests starts one)";
    }
    auto devices = ListAudioDevices();
    ASSERT_GE(devices.size(), 2u);
    ASSERT_EQ(AudioDevices::Count(), int(devices.size()));
    std::vector<std::string> names;
    for (int i = 0; i < AudioDevices::Count(); ++i) {
        AudioDevices::Caps caps;
        ASSERT_TRUE(AudioDevices::GetCaps(i, caps));
        names.push_back(caps.ProductName);
        EXPECT_EQ(caps.Formats, 0xFFFu) << caps.ProductName;
        EXPECT_EQ(AudioDevices::ChannelsText(caps.Channels), "Stereo");
    }
    EXPECT_NE(std::find(names.begin(), names.end(), "OlvTest"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "SecondNull"), names.end());
    AudioDevices::Caps defaultCaps;
    ASSERT_TRUE(AudioDevices::GetCaps(-1, defaultCaps));
    EXPECT_EQ(defaultCaps.ProductName, "OlvTest");
}

} // namespace
} // namespace olv::test
