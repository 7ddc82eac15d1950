// The audio device dialog over the test sound server's two null sinks, "olvtest" (OlvTest,
// the default) and "second" (SecondNull), and the speech controller choosing through it.

#include "DialogTestSupport.h"
#include "app/dialogs/TAuDevDlg.h"
#include "app/dialogs/TMyAudioDeviceDlg.h"
#include "platform/AudioOutput.h"

#include <QListWidget>

namespace olv::test {
namespace {

class AudioDeviceTest : public SpeechDialogFixture {
protected:
    void SetUp() override {
        if (!SoundServer::Usable())
            GTEST_SKIP() << "no test sound server (tools/run-tests starts one)";
    }

    static int RowOf(const TMyAudioDeviceDlg& dialog, const QString& caption) {
        const auto found = dialog.DeviceList()->findItems(caption, Qt::MatchExactly);
        return found.isEmpty() ? -1 : dialog.DeviceList()->row(found.front());
    }
};

TEST_F(AudioDeviceTest, TheDefaultOutputComesFirstThenEachSinkWithItsCapabilities) {
    const int second = DeviceNumber("second");
    ASSERT_GE(second, 0);
    TMyAudioDeviceDlg dialog;
    dialog.Preselect(second);
    dialog.show();
    QListWidget* list = dialog.DeviceList();
    ASSERT_EQ(list->count(), int(ListAudioDevices().size()) + 1);
    EXPECT_EQ(list->item(0)->text(), "System default output");
    EXPECT_GT(RowOf(dialog, "OlvTest"), 0);
    EXPECT_EQ(list->currentItem()->text(), "SecondNull");
    EXPECT_EQ(dialog.SelectedDevice(), second);
    EXPECT_EQ(dialog.DetailText(TMyAudioDeviceDlg::DeviceID), QString::number(second));
    EXPECT_TRUE(dialog.DetailText(TMyAudioDeviceDlg::Formats).contains("44.1 kHz, Mono, 16-bit\n"));
    EXPECT_EQ(dialog.DetailText(TMyAudioDeviceDlg::Supports), "Supports volume control. ");

    list->setCurrentRow(0);
    EXPECT_EQ(dialog.SelectedDevice(), -1);
    EXPECT_EQ(dialog.DetailText(TMyAudioDeviceDlg::DeviceID), "-1 (System default output)");

    dialog.Preselect(list->count() + 5); // no such device: nothing is selected
    dialog.Prepare();
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_EQ(dialog.SelectedDevice(), -1);
}

TEST_F(AudioDeviceTest, TheControllerTriesAndKeepsTheChosenDeviceButNotACancelledOne) {
    TBaseTTS& speech = Start();
    speech.OnChooseAudioDevice = TAuDevDlg::Chooser(nullptr);
    OnNextModal([](QWidget& dialog) {
        auto& devices = static_cast<TMyAudioDeviceDlg&>(dialog);
        EXPECT_EQ(devices.SelectedDevice(), -1); // the current device is the default
        devices.DeviceList()->setCurrentRow(RowOf(devices, "SecondNull"));
        emit devices.DeviceList()->itemDoubleClicked(devices.DeviceList()->currentItem());
    });
    EXPECT_TRUE(speech.ChooseAudioDevice());
    EXPECT_EQ(speech.AudioDeviceID, DeviceNumber("second"));
    EXPECT_EQ(Stored("TTS_AudioDeviceID"), std::to_string(DeviceNumber("second")));

    OnNextModal([](QWidget& dialog) {
        auto& devices = static_cast<TMyAudioDeviceDlg&>(dialog);
        EXPECT_EQ(devices.SelectedDevice(), DeviceNumber("second"));
        devices.DeviceList()->setCurrentRow(0);
        Click(dialog, "Cancel");
    });
    EXPECT_FALSE(speech.ChooseAudioDevice());
    EXPECT_EQ(speech.AudioDeviceID, DeviceNumber("second"));
}

} // namespace
} // namespace olv::test
