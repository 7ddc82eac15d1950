#include "update/ProgramUpdater.h"

#include "settings/OlvenarRegistryClass.h"
#include "update/UpdateServer.h"
#include "util/Strings.h"
#include "weather/LocationListClass.h"

namespace olv {

ProgramUpdater::ProgramUpdater(OlvenarRegistryClass& settings, SmartUpdateHost host)
    : settings_(settings), host_(std::move(host)) {}

ProgramUpdater::~ProgramUpdater() = default;

bool ProgramUpdater::HasServer() {
    const std::string address = UpdateServerAddress();
    std::string problem;
    return !address.empty() && IsUpdateAddressAllowed(address, problem);
}

std::string ProgramUpdater::DownloadPage() {
    return UpdateServerAddress() + "/" + kProductName + "/download.html";
}

bool ProgramUpdater::CheckNow() {
    return Check(false);
}

bool ProgramUpdater::OfferFirstRunCheck() {
    if (!HasServer() || !settings_.IsFirstTimeDownload())
        return false;
    if (!host_.Ask || !host_.Ask(kFirstRunQuestion, false))
        return false;
    Check(false);
    return true;
}

bool ProgramUpdater::AutoCheckIfDue() {
    if (running_ || !HasServer() || !Prepare().ShouldAutoCheck())
        return false;
    if (host_.Status)
        host_.Status("Checking for Program Updates");
    Run(true);
    if (host_.Status)
        host_.Status("Idle...");
    return true;
}

bool ProgramUpdater::CheckSilently() {
    return Check(true);
}

void ProgramUpdater::Cancel() {
    if (updater_)
        updater_->Cancel();
}

const UpdateOutcome& ProgramUpdater::LastOutcome() const {
    static const UpdateOutcome none;
    return updater_ ? updater_->Outcome() : none;
}

BaseSmartUpdateClass& ProgramUpdater::Prepare() {
    updater_ = std::make_unique<BaseSmartUpdateClass>(settings_, host_);
    BaseSmartUpdateClass& updater = *updater_;
    updater.ProductName = kProductName;
    updater.DownloadPage = DownloadPage();
    updater.Files = {{LocationListClass::kCatalogueFile, false, true},
                     {"Olvenar.chl", true, false}};
    if (!Trim(settings_.GetValue("ProxyHost").AsString()).empty())
        updater.SetProxy(settings_.GetValue("ProxyHost").AsString(),
                         settings_.GetValue("ProxyPort").AsString(),
                         settings_.GetValue("ProxyUsername").AsString(),
                         settings_.GetValue("ProxyPassword").AsString());
    if (RandomDigit)
        updater.RandomDigit = RandomDigit;
    if (Today)
        updater.Today = Today;
    return updater;
}

bool ProgramUpdater::Check(bool silent) {
    if (running_)
        return false;
    Prepare();
    return Run(silent);
}

bool ProgramUpdater::Run(bool silent) {
    // The host's events run during the transfers; a second check started from one of them
    // must not pull the running one away from under itself.
    running_ = true;
    const bool found = updater_->CheckForUpdates(settings_.VersionText(), silent);
    running_ = false;
    return found;
}

} // namespace olv
