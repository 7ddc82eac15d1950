// The voice preferences over the program's speech controller with the real eSpeak NG and
// Flite voices; the test speech plays on the test sound server.

#include "DialogTestSupport.h"
#include "app/dialogs/TOVTTSPreferenceForm.h"
#include "speech/TBaseEngineClass.h"
#include "speech/TBaseVoiceClass.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTreeWidget>

namespace olv::test {
namespace {

const std::string kAmerica = "English (America)"; // the first voice, the default at first

class VoiceDialogTest : public SpeechDialogFixture {
protected:
    // Selects the tree node labelled text (a vendor or a voice).
    static void SelectNode(TBaseTTSPreferences& form, const std::string& text) {
        const auto found = form.Tree()->findItems(QString::fromStdString(text),
                                                  Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << text;
        form.Tree()->setCurrentItem(found.front());
    }
};

TEST_F(VoiceDialogTest, CancelLeavesTheControllerItsVoicesAndTheFileAlone) {
    TBaseTTS& speech = Start();
    speech.SaveSettings();
    speech.OutputToFile = true;
    const std::string before = StoreText();
    {
        TOVTTSPreferenceForm form(speech);
        EXPECT_FALSE(speech.OnDone || speech.OnStateChange || speech.OutputToFile);
        form.show();
        EXPECT_EQ(form.Tree()->topLevelItemCount(), 2); // one node per vendor
        SelectNode(form, "Flite Kal");
        Control<QSlider>(form, "TrkBarSpeed")->setValue(300);
        SelectNode(form, "CMU Flite");
        form.ToggleEnabled();
        Control<QComboBox>(form, "cbxOutputFormats")->setCurrentText("MP3");
        Click(form, "Cancel");
    }
    EXPECT_EQ(StoreText(), before);
    EXPECT_TRUE(speech.Voices.VendorEnabled("CMU Flite"));
    EXPECT_NE(speech.Voices.FindByName("Flite Kal")->Speed(), 300);
    EXPECT_EQ(speech.OutputFormat(), "Wav");
    EXPECT_TRUE(speech.OnDone && speech.OnStateChange && speech.OutputToFile);
}

TEST_F(VoiceDialogTest, TheDefaultVoicesVendorStaysButTheVoiceItselfMayBeDisabled) {
    TBaseTTS& speech = Start();
    TOVTTSPreferenceForm form(speech);
    form.show();
    SelectNode(form, "eSpeak NG");
    EXPECT_TRUE(ButtonNamed(form, "Disable")->isEnabled());
    form.ToggleEnabled();
    EXPECT_EQ(prompter.Told, std::vector<std::string>{"Cannot disable default voice"});
    EXPECT_TRUE(form.VoiceCopies().VendorEnabled("eSpeak NG"));

    SelectNode(form, kAmerica);
    form.ToggleEnabled();
    EXPECT_FALSE(form.DialogDefaultVoice()->Enabled());
    EXPECT_EQ(form.Tree()->currentItem()->text(1), "Default voice, disabled");
    EXPECT_TRUE(ButtonNamed(form, "Enable"));
    Click(form, "OK"); // refused: the controller keeps only an enabled default voice
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(prompter.Told.back(),
              "The default voice is disabled. Enable it or choose another default voice.");
    EXPECT_TRUE(speech.Voices.FindByName(kAmerica)->Enabled());
}

TEST_F(VoiceDialogTest, OkHandsBackTheCopiesAndTheFileOptionsAndWritesThem) {
    TBaseTTS& speech = Start();
    TOVTTSPreferenceForm form(speech);
    form.show();
    SelectNode(form, "Flite Slt");
    auto* speed = Control<QSlider>(form, "TrkBarSpeed");
    const int newSpeed = speed->minimum() + 1;
    speed->setValue(newSpeed);
    ButtonNamed(form, "Default Voice")->click();
    EXPECT_EQ(form.Tree()->currentItem()->text(1), "Default voice");
    Shot(form, "voices");

    form.Tabs()->setCurrentIndex(1);
    ButtonNamed(form, "Round Robin")->click();
    Shot(form, "voice-selection");
    form.Tabs()->setCurrentIndex(2);
    auto* format = Control<QComboBox>(form, "cbxOutputFormats");
    auto* quality = Control<QComboBox>(form, "cbxAudioQuality");
    EXPECT_FALSE(quality->isEnabled());
    format->setCurrentText("MP3");
    EXPECT_TRUE(quality->isEnabled());
    quality->setCurrentIndex(quality->count() - 1);
    Control<QComboBox>(form, "cbxWriteFileSpeed")->setCurrentText("15x");
    Control<QLineEdit>(form, "edtOutputDir")->setText(QString::fromStdString(output));
    Shot(form, "audio-file-options");
    Click(form, "OK");
    ASSERT_EQ(form.result(), TBasePrefForm::Saved);

    EXPECT_EQ(speech.DefaultVoiceName(), "Flite Slt");
    EXPECT_EQ(speech.Voices.FindByName("Flite Slt")->Speed(), newSpeed);
    EXPECT_GE(speech.Engines.IndexOf(speech.Voices.FindByName("Flite Slt")->Engine), 0);
    EXPECT_EQ(speech.VoiceAssignment, 1);
    EXPECT_EQ(speech.OutputFormat(), "MP3");
    EXPECT_EQ(speech.MP3Quality(), quality->currentText().toStdString());
    EXPECT_EQ(speech.RealTimeValue, 3840);
    EXPECT_EQ(speech.OutputDir, output);
    EXPECT_EQ(Stored("TTS_DefaultVoiceID"), speech.Voices.FindByName("Flite Slt")->VoiceID);
}

TEST_F(VoiceDialogTest, TheOutputFolderMustBeAnExistingFullPath) {
    TBaseTTS& speech = Start();
    TOVTTSPreferenceForm form(speech);
    form.ChooseFolder = [this](QWidget*, const QString&) { return QString::fromStdString(output); };
    form.show();
    auto* folder = Control<QLineEdit>(form, "edtOutputDir");
    const struct {
        std::string text;
        const char* message;
    } cases[] = {{"reports", "Output directory pathname is invalid"},
                 {dir.File("missing"), "The output directory specified does not exist"}};
    for (const auto& c : cases) {
        folder->setText(QString::fromStdString(c.text));
        Click(form, "OK");
        EXPECT_EQ(prompter.Told.back(), c.message);
        EXPECT_EQ(form.Tabs()->currentIndex(), 2);
    }
    ButtonNamed(form, "Browse ...")->click();
    EXPECT_EQ(folder->text().toStdString(), output);
    Click(form, "OK");
    EXPECT_EQ(form.result(), TBasePrefForm::Saved);
}

TEST_F(VoiceDialogTest, TestSpeaksOnTheSoundDeviceEvenWhenFilesAreWrittenButNotOverAReading) {
    if (!SoundServer::Usable())
        GTEST_SKIP() << "no test sound server (tools/run-tests starts one)";
    TBaseTTS& speech = Start();
    speech.OutputToFile = true;
    speech.OutputDir = output;
    speech.SetFileBase("Report");
    auto form = std::make_unique<TOVTTSPreferenceForm>(speech);
    form->show();
    SelectNode(*form, kAmerica);
    auto [heard, other] = RecordSinks("olvtest", "second", dir.Folder(), [&] {
        ButtonNamed(*form, "Test")->click();
        ASSERT_TRUE(speech.IsBusy());
        ASSERT_TRUE(RunEventsUntil([&] { return !speech.IsBusy(); }));
    });
    EXPECT_GT(heard.Peak(), 3000);
    EXPECT_TRUE(FilesIn(output).empty());
    EXPECT_TRUE(events.empty()); // the window heard nothing of it

    form.reset();
    speech.OutputToFile = false;
    speech.Speak("", LongText());
    form = std::make_unique<TOVTTSPreferenceForm>(speech);
    SelectNode(*form, kAmerica);
    form->TestVoice();
    EXPECT_EQ(prompter.Told.back(),
              "Text to Speech is currently busy, and test cannot be performed");
    EXPECT_TRUE(speech.IsBusy());
    form.reset();
    speech.Stop();
}

} // namespace
} // namespace olv::test
