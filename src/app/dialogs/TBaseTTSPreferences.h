#pragma once

#include "app/dialogs/TBasePrefForm.h"
#include "speech/TBaseTTS.h"
#include "speech/TEngineList.h"
#include "speech/TVoiceList.h"

#include <QString>
#include <functional>
#include <memory>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTreeWidget;
class QTreeWidgetItem;

namespace olv {

class TBaseVoiceClass;

// The speech preferences: which engines and voices take part, each voice's pitch, speed and
// volume, the default voice, how voices are assigned to texts, and the audio-file options.
// The form works on copies of the controller's engine and voice lists and hands them back,
// with the other choices, only on OK, which also writes the speech settings. While it is open
// the controller's end-of-speech events and file output are held back, so that "Test" always
// plays on the sound device and never reaches the main window.
class TBaseTTSPreferences : public TBasePrefForm {
    Q_OBJECT

public:
    // speech: the program's initialised controller; its speech settings are the form's.
    explicit TBaseTTSPreferences(TBaseTTS& speech, QWidget* parent = nullptr);
    ~TBaseTTSPreferences() override;

    // The folder picker of "Browse ..."; the standard dialog by default. Empty: cancelled.
    std::function<QString(QWidget* parent, const QString& start)> ChooseFolder;

    TVoiceList& VoiceCopies() { return voices_; }
    TBaseVoiceClass* DialogDefaultVoice() const { return defaultVoice_; }
    QTreeWidget* Tree() const { return tree_; }

    // The buttons of the voice page.
    void ToggleEnabled();
    void MakeDefaultVoice();
    void TestVoice();
    void ResetDefaults();

protected:
    bool ValidateControl(const QString& name) override;
    bool ReadyToSave() override;
    // Applies the choices to the controller and writes them (ApplySettings).
    void SaveHook() override;

private:
    QWidget* MakeVoicePanel();
    QWidget* MakeSelectionPanel();
    QWidget* MakeAudioFilePanel();
    void CopyLists();
    void BuildTree();
    void RefreshImages();
    void NodeSelected();
    void ShowVoice(TBaseVoiceClass& voice);
    void ShowVendor();
    void SliderMoved(QSlider* slider, int value);
    void FormatChanged();
    void Browse();
    TBaseVoiceClass* SelectedVoice() const;
    QString SelectedVendor() const;
    bool NodeEnabled(const QTreeWidgetItem* item) const;
    void UpdateEnableCaption();

    TBaseTTS& speech_;
    TEngineList engines_;
    TVoiceList voices_;
    TBaseVoiceClass* defaultVoice_ = nullptr;
    std::unique_ptr<TBaseVoiceClass> testVoice_;
    bool initialising_ = true;

    // The controller's own, given back when the form goes.
    decltype(TBaseTTS::OnDone) savedOnDone_;
    decltype(TBaseTTS::OnStateChange) savedOnStateChange_;
    bool savedOutputToFile_ = false;

    QTreeWidget* tree_ = nullptr;
    QSlider* pitchSlider_ = nullptr;
    QSlider* speedSlider_ = nullptr;
    QSlider* volumeSlider_ = nullptr;
    QLabel* pitchLabel_ = nullptr;
    QLabel* speedLabel_ = nullptr;
    QLabel* volumeLabel_ = nullptr;
    QLabel* pitchValue_ = nullptr;
    QLabel* speedValue_ = nullptr;
    QLabel* volumeValue_ = nullptr;
    QLabel* noPitchLabel_ = nullptr;
    QPushButton* enableButton_ = nullptr;
    QPushButton* defaultButton_ = nullptr;
    QPushButton* testButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QButtonGroup* assignment_ = nullptr;
    QComboBox* formatCombo_ = nullptr;
    QComboBox* speedCombo_ = nullptr;
    QComboBox* qualityCombo_ = nullptr;
    QLabel* qualityLabel_ = nullptr;
    QLineEdit* folderEdit_ = nullptr;
};

} // namespace olv
