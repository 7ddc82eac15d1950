#include "app/DialogCommands.h"

#include "app/GlobalArea.h"
#include "app/MainMenus.h"
#include "app/MyCitiesArea.h"
#include "app/ReadingCommands.h"
#include "app/TOVForm.h"
#include "app/WindowCommands.h"
#include "app/dialogs/TAuDevDlg.h"
#include "app/dialogs/TIntroCustomizeForm.h"
#include "app/dialogs/TOVLookForm.h"
#include "app/dialogs/TOVTTSPreferenceForm.h"
#include "app/dialogs/TOlvenarPrefForm.h"
#include "app/dialogs/TReadOptionsForm.h"

#include <QAction>
#include <QPushButton>

namespace olv {

DialogCommands::DialogCommands(TOVForm& window, WindowCommands& commands)
    : window_(window), commands_(commands), readOptions_(new TReadOptionsForm(&window)) {}

void DialogCommands::ConnectAll() {
    const MainMenus& menus = window_.Menus();
    window_.Speech().OnChooseAudioDevice = TAuDevDlg::Chooser(&window_);
    commands_.On(menus.Preferences, &QAction::triggered, [this] { OpenPreferences(); });
    commands_.On(menus.Appearance, &QAction::triggered, [this] { OpenAppearance(); });
    commands_.On(menus.VoiceOptions, &QAction::triggered, [this] { OpenVoiceOptions(); });
    commands_.On(menus.SelectAudioDevice, &QAction::triggered,
                 [this] { window_.Speech().ChooseAudioDevice(); });
    commands_.On(menus.EditIntroPhrases, &QAction::triggered, [this] { EditIntroPhrases(); });

    const auto editDefaults = [this] { readOptions_->EditDefaults(window_.DefaultTalkData()); };
    commands_.On(menus.DefaultReadOptions, &QAction::triggered, editDefaults);
    commands_.On(window_.GlobalView().Button().DefaultOptions, &QPushButton::clicked, editDefaults);
    commands_.On(menus.SummaryReadOptions, &QAction::triggered,
                 [this] { readOptions_->EditSummary(); });
    commands_.On(window_.MyCitiesView().Button().CityOptions, &QPushButton::clicked,
                 [this] { EditCityOptions(); });
    commands_.On(window_.MyCitiesView().Action().CityOptions, &QAction::triggered,
                 [this] { EditCityOptions(); });
}

void DialogCommands::OpenPreferences() {
    TOlvenarPrefForm form(window_.Settings(), &window_);
    form.SetWizardMode(false);
    if (form.exec() == TBasePrefForm::Saved)
        window_.AfterPreferences();
}

void DialogCommands::OpenAppearance() {
    TOVLookForm form(window_.Settings(), &window_);
    if (form.exec() == QDialog::Accepted)
        window_.AfterAppearance();
}

void DialogCommands::OpenVoiceOptions() {
    TBaseTTS& speech = window_.Speech();
    {
        TOVTTSPreferenceForm form(speech, &window_);
        form.exec();
    } // the form hands the controller's events back as it goes
    // A reading that ended while the form held those events is ended now, or the window would
    // wait for it for ever and send the next reading to its file.
    ReadingCommands& readings = window_.Readings();
    if (readings.ReadingKind != kNothingSpoken && !speech.IsBusy())
        readings.SpeechFinished(speech.FileMade() ? speech.FileBase : std::string());
}

void DialogCommands::EditIntroPhrases() {
    TIntroCustomizeForm form(window_.Intro(), &window_);
    form.exec();
}

void DialogCommands::EditCityOptions() {
    readOptions_->EditCity(window_.MyCitiesView().SelectedKey());
}

} // namespace olv
