#pragma once

#include "app/MyCitiesRows.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace olv {

class CitySession;
class ReadingCommands;
class TOVForm;
class TttsSwitch;

// Which button, menu entry and tray entry of the main window runs which command, and which of
// them the speech controller enables by its state. A command that fails is shown, never let
// into the event loop.
class WindowCommands : public QObject {
    Q_OBJECT
public:
    WindowCommands(TOVForm& window, CitySession& cities, ReadingCommands& readings);
    ~WindowCommands() override;

    void ConnectAll();
    // The per-city menus: "Select &MyCity", "&MyCities Conditions", "M&yCities Forecast" and
    // their tray twins.
    void RebuildCityMenus(const std::vector<MyCitiesRow>& rows);

    // Runs a command, showing an error that escapes it.
    void Guard(const std::function<void()>& command);
    // Connects a signal to a guarded command.
    template <typename Sender, typename Signal>
    void On(Sender* sender, Signal signal, std::function<void()> command) {
        connect(sender, signal, this, [this, command = std::move(command)] { Guard(command); });
    }
    // "&View Page for Current Location".
    void ViewPage();
    void TellAFriend();

private:
    void RegisterSpeechControls();
    void BuildAudioHelpMenu();
    void ConnectPanel();
    void ConnectAreas();
    void ConnectMenus();
    void ConnectTray();
    std::string SelectedGlobalKey();

    TOVForm& window_;
    CitySession& cities_;
    ReadingCommands& readings_;
    std::vector<std::unique_ptr<TttsSwitch>> switches_;
};

} // namespace olv
