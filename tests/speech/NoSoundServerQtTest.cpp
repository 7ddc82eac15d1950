// Without any sound server (PULSE_SERVER points nowhere, set before Qt starts): there are no
// devices, the device check fails cleanly, and both the speech component and the speech
// controller refuse to speak to a device at once. (Files need no server: ReportToolTest
// renders them without one.)

#include "speech/ControllerFixture.h"
#include "speech/EttsException.h"
#include "speech/TAudioDeviceList.h"
#include "speech/support/QtTestSupport.h"

namespace olv::test {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new NoServerEnvironment);

class NoSoundServerQtTest : public ControllerFixture {
protected:
    bool Pump(const std::function<bool()>& done) override { return RunEventsUntil(done); }
};

// Qt gives no signal when the stream cannot start: the output says so at once.
TEST_F(NoSoundServerQtTest, ThereAreNoDevicesAndSpeakingToOneFailsAtOnce) {
    EXPECT_TRUE(ListAudioDevices().empty());
    EXPECT_TRUE(TAudioDeviceList::Entries().empty());
    auto output = MakeAudioOutput();
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->Open(-1, PcmFormat{22050, 1}), "there is no audio device number -1");

    TBaseTTS& speech = Start();
    Button read;
    speech.AddControl(0, read);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ErrorOf<EttsException>([&] { speech.Speak("", kReport); }),
              "A sound card is not detected");
    EXPECT_FALSE(speech.TestAudioDevice(-1));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_EQ(messages, std::vector<std::string>{
                            "Audio device check failed. \rVerify that the device you have "
                            "selected is a valid audio device\r\rPlease contact Halvern Support "
                            "if you're having problems"});
    EXPECT_TRUE(read.Enabled && events.empty());
}

} // namespace
} // namespace olv::test
