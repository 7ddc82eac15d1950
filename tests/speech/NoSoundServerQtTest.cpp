// Without any sound server (PULSE_SERVER points nowhere, set before Qt starts): no devices,
// and opening the speech component on a sound device fails at once and cleanly.

#include "platform/AudioOutput.h"
#include "speech/AudioDevices.h"
#include "speech/ESpeechError.h"
#include "speech/TTTS.h"
#include "speech/support/QtTestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace olv::test {
namespace {

class NoServerEnvironment : public QtEnvironment {
public:
    void SetUp() override {
        setenv("PULSE_SERVER", "unix:/nonexistent", 1);
        QtEnvironment::SetUp();
    }
};

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new NoServerEnvironment);

TEST(NoSoundServerQtTest, ThereAreNoDevices) {
    EXPECT_TRUE(ListAudioDevices().empty());
    EXPECT_EQ(AudioDevices::Count(), 0);
    AudioDevices::Caps caps;
    EXPECT_FALSE(AudioDevices::GetCaps(-1, caps));
}

TEST(NoSoundServerQtTest, ActivatingOnTheSoundDeviceFailsAtOnce) {
    TTTS tts;
    tts.SetModeName(EspeakUsMode());
    tts.SetOutputDest(TOutputDest::odAudioDevice);
    auto started = std::chrono::steady_clock::now();
    try {
        tts.SetActive(true);
        FAIL() << "activation succeeded without a sound server";
    } catch (const ESpeechError& error) {
        EXPECT_STREQ(error.what(), "No wave out devices available on system.");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_FALSE(tts.Active());
    EXPECT_THROW(tts.SetAudioDeviceID(0), ESpeechError);
    tts.SetAudioDeviceID(-1); // the default device may always be named
}

TEST(NoSoundServerQtTest, AnOutputOpenedAnywayReportsWhy) {
    auto output = MakeAudioOutput();
    ASSERT_NE(output, nullptr);
    EXPECT_FALSE(output->Open(-1, PcmFormat{22050, 1}).empty());
}

} // namespace
} // namespace olv::test
