// The speech controller without any sound server (PULSE_SERVER points nowhere, set before Qt
// starts): speaking fails at once with the controller's own message and the device check fails
// cleanly. (Files need no server: ReportSpeechTest renders them without one.)

#include "speech/ControllerFixture.h"
#include "speech/EttsException.h"
#include "speech/TAudioDeviceList.h"
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

class BaseTTSNoServerQtTest : public ControllerFixture {
protected:
    bool Pump(const std::function<bool()>& done) override { return RunEventsUntil(done); }
};

TEST_F(BaseTTSNoServerQtTest, SpeakingFailsAtOnceWithoutASoundCard) {
    TBaseTTS& speech = Start();
    Button read;
    speech.AddControl(0, read);
    const auto started = std::chrono::steady_clock::now();
    try {
        speech.Speak("", kReport);
        FAIL() << "speaking succeeded without a sound server";
    } catch (const EttsException& error) {
        EXPECT_STREQ(error.what(), "A sound card is not detected");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(speech.State(), TtsState::Idle);
    EXPECT_TRUE(read.Enabled);
    EXPECT_TRUE(events.empty());
}

TEST_F(BaseTTSNoServerQtTest, TheDeviceCheckFailsAndTheListIsEmpty) {
    TBaseTTS& speech = Start();
    EXPECT_TRUE(TAudioDeviceList::Entries().empty());
    EXPECT_FALSE(speech.TestAudioDevice(-1));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Audio device check failed. \rVerify that the device you have selected "
                           "is a valid audio device\r\rPlease contact Halvern Support if you're "
                           "having problems");
}

} // namespace
} // namespace olv::test
