#pragma once

#include "update/BaseSmartUpdateClass.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace olv {

class OlvenarRegistryClass;

// Olvenar's update checks as its hosts run them (the window, olvenar-report). Each check builds
// a BaseSmartUpdateClass from the settings: product "Olvenar", its download page, "OVDef.chl"
// (asked first, needs a restart), "Olvenar.chl" (silent), the proxy when one is set, and the
// program version of the settings.
class ProgramUpdater {
public:
    static constexpr const char* kProductName = "Olvenar";
    static constexpr const char* kFirstRunQuestion =
        "Olvenar needs to see if new data files are available.\n"
        "You must be connected to the internet for this check.\n"
        "Perform Check Now?";

    ProgramUpdater(OlvenarRegistryClass& settings, SmartUpdateHost host);
    ~ProgramUpdater();
    ProgramUpdater(const ProgramUpdater&) = delete;
    ProgramUpdater& operator=(const ProgramUpdater&) = delete;

    // True when this build, or OLVENAR_UPDATE_URL, names an update server that may be used.
    static bool HasServer();
    // The page that offers a newer program version, on the update server.
    static std::string DownloadPage();

    // "&Check For Upgrade": the interactive check; says so when there is no server.
    bool CheckNow();
    // When the window has been created: on the first run (and with a server), asks whether to
    // check, and runs the interactive check on Yes. True when it checked.
    bool OfferFirstRunCheck();
    // Before a refresh of all My Cities: when the gate says it is time, the silent check with
    // "Checking for Program Updates" in the status line. True when it checked.
    bool AutoCheckIfDue();
    // The silent check at once (olvenar-report --check-update).
    bool CheckSilently();
    // The progress dialog's "Cancel".
    void Cancel();

    // What the latest check found and did.
    const UpdateOutcome& LastOutcome() const;

    // The gate's sources when set (tests): a random digit from 0 to 9, today's day number.
    std::function<int()> RandomDigit;
    std::function<int64_t()> Today;

private:
    BaseSmartUpdateClass& Prepare();
    // A fresh check, unless one is running (then false).
    bool Check(bool silent);
    // Runs the prepared check.
    bool Run(bool silent);

    OlvenarRegistryClass& settings_;
    SmartUpdateHost host_;
    std::unique_ptr<BaseSmartUpdateClass> updater_;
    bool running_ = false;
};

} // namespace olv
