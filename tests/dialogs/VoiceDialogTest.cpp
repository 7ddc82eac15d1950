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

// The dialog works on copies: Cancel leaves the controller's voices and options as they were.
// (That it leaves the settings file and hands back the controller's events the window's tests
// check.)
TEST_F(VoiceDialogTest, CancelLeavesTheControllerAndItsVoicesAlone) {
    TBaseTTS& speech = Start();
    {
        TOVTTSPreferenceForm form(speech);
        form.show();
        EXPECT_EQ(form.Tree()->topLevelItemCount(), 2); // one node per vendor
        SelectNode(form, "Flite Kal");
        Control<QSlider>(form, "TrkBarSpeed")->setValue(300);
        SelectNode(form, "CMU Flite");
        form.ToggleEnabled();
        Control<QComboBox>(form, "cbxOutputFormats")->setCurrentText("MP3");
        Click(form, "Cancel");
    }
    EXPECT_TRUE(speech.Voices.VendorEnabled("CMU Flite"));
    EXPECT_NE(speech.Voices.FindByName("Flite Kal")->Speed(), 300);
    EXPECT_EQ(speech.OutputFormat(), "Wav");
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

// (A default voice and its speed chosen by keyboard, and stored, the end-to-end tests check.)
TEST_F(VoiceDialogTest, OkHandsBackTheCopiesAndTheFileOptions) {
    TBaseTTS& speech = Start();
    TOVTTSPreferenceForm form(speech);
    form.show();
    SelectNode(form, "Flite Slt");
    ButtonNamed(form, "Default Voice")->click();
    form.Tabs()->setCurrentIndex(1);
    ButtonNamed(form, "Round Robin")->click();
    form.Tabs()->setCurrentIndex(2);
    auto* format = Control<QComboBox>(form, "cbxOutputFormats");
    auto* quality = Control<QComboBox>(form, "cbxAudioQuality");
    EXPECT_FALSE(quality->isEnabled());
    format->setCurrentText("MP3");
    EXPECT_TRUE(quality->isEnabled());
    quality->setCurrentIndex(quality->count() - 1);
    Control<QComboBox>(form, "cbxWriteFileSpeed")->setCurrentText("15x");
    Control<QLineEdit>(form, "edtOutputDir")->setText(QString::fromStdString(output));
    Click(form, "OK");
    ASSERT_EQ(form.result(), TBasePrefForm::Saved);

    EXPECT_EQ(speech.DefaultVoiceName(), "Flite Slt");
    EXPECT_GE(speech.Engines.IndexOf(speech.Voices.FindByName("Flite Slt")->Engine), 0);
    EXPECT_EQ(speech.VoiceAssignment, 1);
    EXPECT_EQ(speech.OutputFormat(), "MP3");
    EXPECT_EQ(speech.MP3Quality(), quality->currentText().toStdString());
    EXPECT_EQ(speech.RealTimeValue, 3840);
    EXPECT_EQ(speech.OutputDir, output);
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
