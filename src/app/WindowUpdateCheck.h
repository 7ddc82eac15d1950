#pragma once

#include "app/UpdateHook.h"
#include "app/dialogs/TBaseCancelDialogForm.h"
#include "update/ProgramUpdater.h"

#include <QPointer>
#include <functional>
#include <string>

class QWidget;

namespace olv {

class OlvenarRegistryClass;

// The program's update check, hosted by the main window: questions and messages in message
// boxes over it, pages in the browser, progress in the "Checking for Program Updates..."
// window (whose Cancel stops the check), and the automatic check in the status line.
class WindowUpdateCheck final : public UpdateCheck {
public:
    WindowUpdateCheck(OlvenarRegistryClass& settings, QWidget& window,
                      std::function<void(const std::string& text)> status);

    void Run(UpdateOccasion occasion) override;
    void Cancel() override;


private:
    SmartUpdateHost Host(std::function<void(const std::string& text)> status);
    TBaseCancelDialogForm& Progress();

    QWidget& window_;
    QPointer<TBaseCancelDialogForm> progress_;
    ProgramUpdater updater_;
};

} // namespace olv
