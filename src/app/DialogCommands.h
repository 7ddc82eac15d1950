#pragma once

namespace olv {

class TOVForm;
class TReadOptionsForm;
class WindowCommands;

// Which menu entry and button of the main window opens which dialog, with which of the
// window's objects, and what the window does when the dialog ends with OK. Every dialog edits
// its objects and applies or saves them only on OK; Cancel and the close button change
// nothing. The reading options dialog is made once and serves every opener.
class DialogCommands {
public:
    DialogCommands(TOVForm& window, WindowCommands& commands);

    void ConnectAll();

    // "&Olvenar Preferences": the preferences as a dialog; on OK the tray icon, the units and
    // the city shown follow them.
    void OpenPreferences();
    // "Olvenar Appea&rance": on OK the window's colours and the tray icon follow it.
    void OpenAppearance();
    // "&Voice Options": the form borrows the speech controller's events while it is open.
    void OpenVoiceOptions();
    void EditIntroPhrases();
    // "City Options" and "City Read &Options": the options of the selected My City.
    void EditCityOptions();


private:
    TOVForm& window_;
    WindowCommands& commands_;
    TReadOptionsForm* readOptions_; // a child of the window
};

} // namespace olv
