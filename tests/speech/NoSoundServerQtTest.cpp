// Without any sound server (PULSE_SERVER points nowhere, set before Qt starts): there are no
// devices, the device check fails cleanly, and both the speech component and the speech
// controller refuse to speak to a device at once. (Files need no server: ReportSpeechTest
// renders them without one.)

#include "speech/AudioDevices.h"
#include "speech/ControllerFixture.h"
#include "speech/ESpeechError.h"
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

TEST_F(NoSoundServerQtTest, ThereAreNoDevicesAndTheDeviceCheckFails) {
    EXPECT_TRUE(ListAudioDevices().empty());
    EXPECT_EQ(AudioDevices::Count(), 0);
    AudioDevices::Caps caps;
    EXPECT_FALSE(AudioDevices::GetCaps(-1, caps));
    EXPECT_TRUE(TAudioDeviceList::Entries().empty());
    auto output = MakeAudioOutput();
    ASSERT_NE(output, nullptr);
    EXPECT_FALSE(output->Open(-1, PcmFormat{22050, 1}).empty());

    EXPECT_FALSE(Start().TestAudioDevice(-1));
    EXPECT_EQ(messages, std::vector<std::string>{
                            "Audio device check failed. \rVerify that the device you have "
                            "selected is a valid audio device\r\rPlease contact Halvern Support "
                            "if you're having problems"});
}

TEST_F(NoSoundServerQtTest, SpeakingToADeviceFailsAtOnce) {
    TBaseTTS& speech = Start();
    Button read;
    speech.AddControl(0, read);
    TTTS tts;
    tts.SetModeName(EspeakUsMode());
    tts.SetOutputDest(TOutputDest::odAudioDevice);

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ErrorOf<ESpeechError>([&] { tts.SetActive(true); }),
              "No wave out devices available on system.");
    EXPECT_EQ(ErrorOf<EttsException>([&] { speech.Speak("", kReport); }),
              "A sound card is not detected");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_FALSE(tts.Active());
    EXPECT_EQ(speech.State(), TtsState::Idle);
    EXPECT_TRUE(read.Enabled);
    EXPECT_TRUE(events.empty());
}

} // namespace
} // namespace olv::test
