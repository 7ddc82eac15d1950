#include "update/BaseSmartUpdateClass.h"

#include "net/DownloadClass.h"
#include "platform/Files.h"
#include "platform/MessageHook.h"
#include "platform/Paths.h"
#include "settings/TBaseRegistryClass.h"
#include "update/TemporaryDownload.h"
#include "update/UpdateRevision.h"
#include "update/UpdateServer.h"
#include "update/UpdateSignature.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "weather/LocationListClass.h"

#include <ctime>
#include <exception>
#include <random>

namespace olv {
namespace {

constexpr const char* kCheckingMessage = "Checking File Revisions...";
constexpr const char* kRevision = "Revision";
constexpr const char* kChecksum = "SHA256";
constexpr const char* kDownloadQuestion =
    "A program update is available, would you like to download it now?";
constexpr const char* kAnnouncementsQuestion =
    "Would you like to see upgrade announcements in the future?";
constexpr const char* kFileQuestion =
    "A program update taking less than 1 minute to download is available.\n"
    "Would you like to download this update now?";

std::string Refusal(const std::string& fileName, const std::string& reason) {
    return "The update of " + fileName + " was refused: " + reason;
}

std::string Unretrieved(const std::string& fileName) {
    return "Unable to retrieve " + fileName;
}

bool ReadText(const std::string& path, std::string& text, std::string& problem) {
    try {
        if (ReadWholeFile(path, text))
            return true;
        problem = "Unable to read " + path;
    } catch (const std::exception& failure) {
        problem = failure.what();
    }
    return false;
}

int64_t DaysSince1970(int year, int month, int day) {
    std::tm date{};
    date.tm_year = year - 1900;
    date.tm_mon = month - 1;
    date.tm_mday = day;
    return int64_t(::timegm(&date)) / 86400;
}

} // namespace

BaseSmartUpdateClass::BaseSmartUpdateClass(TBaseRegistryClass& settings, SmartUpdateHost host)
    : ServerAddress(UpdateServerAddress()), Today(&TodayNumber), settings_(settings),
      host_(std::move(host)) {
    RandomDigit = [] {
        static std::mt19937 engine{std::random_device{}()};
        return std::uniform_int_distribution<int>(0, 9)(engine);
    };
}

BaseSmartUpdateClass::~BaseSmartUpdateClass() = default;

void BaseSmartUpdateClass::SetProxy(const std::string& host, const std::string& port,
                                    const std::string& userName, const std::string& password) {
    proxyHost_ = host;
    proxyPort_ = port;
    proxyUserName_ = userName;
    proxyPassword_ = password;
    Log("Host=" + host + "=");
    Log("Port=" + port + "=");
}

bool BaseSmartUpdateClass::CheckForUpdates(const std::string& programVersion, bool silent) {
    silent_ = silent;
    cancelled_ = false;
    outcome_ = {};
    if (!Usable() || !FetchManifest())
        return false;
    settings_.ClearFirstTimeDownload();
    if (cancelled_ || ReportProgramVersion(programVersion))
        return false;

    bool found = false;
    bool restart = false;
    bool settled = false;
    for (const SmartUpdateFileClass& file : Files) {
        if (cancelled_)
            break;
        FileOutcome& result = outcome_.Files.emplace_back();
        if (!CheckFile(file, result))
            continue;
        found = true;
        // A file that failed or was refused changed nothing, so it needs no restart and is no
        // reason to say the updates are complete.
        const bool done = result.State == FileOutcome::Result::Updated ||
                          result.State == FileOutcome::Result::Declined;
        settled = settled || done;
        restart = restart || (done && file.RestartNeeded);
    }
    if (!silent_ && !cancelled_) {
        if (!found)
            Say("No updates available at this time.");
        if (restart)
            Say("You must exit and restart program for some changes to take effect.");
        else if (settled)
            Say("Updates Complete");
    }
    return found;
}

void BaseSmartUpdateClass::Cancel() {
    cancelled_ = true;
    if (downloader_)
        downloader_->Abort();
}

bool BaseSmartUpdateClass::Usable() {
    std::string problem;
    if (ServerAddress.empty()) {
        outcome_.Manifest = UpdateOutcome::Result::NoServer;
        problem = "This build of " + ProductName + " has no update server.";
    } else if (!IsUpdateAddressAllowed(ServerAddress, problem)) {
        outcome_.Manifest = UpdateOutcome::Result::Refused;
    } else {
        return true;
    }
    outcome_.Message = problem;
    Log(problem);
    if (!silent_)
        Say(problem);
    return false;
}

bool BaseSmartUpdateClass::FetchManifest() {
    if (!silent_)
        ShowProgress();
    std::string text;
    const bool verified = FetchVerifiedManifest(text);
    if (!silent_)
        CloseProgress();
    if (!verified) {
        const bool refused = outcome_.Manifest == UpdateOutcome::Result::Refused;
        outcome_.Message =
            refused ? Refusal(kManifestFile, outcome_.Reason) : Unretrieved(kManifestFile);
        Log(outcome_.Message + " - " + outcome_.Reason);
        if (!silent_ && outcome_.Manifest != UpdateOutcome::Result::Cancelled)
            Say(outcome_.Message);
        return false;
    }
    manifest_.LoadFromText(text);
    outcome_.Manifest = UpdateOutcome::Result::Read;
    return true;
}

bool BaseSmartUpdateClass::FetchVerifiedManifest(std::string& text) {
    const auto fail = [this](UpdateOutcome::Result result, const std::string& reason) {
        outcome_.Manifest = cancelled_ ? UpdateOutcome::Result::Cancelled : result;
        outcome_.Reason = reason;
        return false;
    };
    const std::string target = ProgramFolder() + kManifestFile;
    const TemporaryDownload manifest(target);
    const TemporaryDownload signature(target + ".sig");
    if (manifest.Path().empty() || signature.Path().empty())
        return fail(UpdateOutcome::Result::Failed, manifest.Problem() + signature.Problem());

    std::string url = ServerFile(kManifestFile) + "?product=" + ProductName;
    if (settings_.IsFirstTimeDownload())
        url += "&FirstTime";
    Log("before download");
    const bool fetched = Download(url, manifest.Path());
    Log(std::string("tmpBool=") + (fetched ? "True" : "False"));
    if (!fetched)
        return fail(UpdateOutcome::Result::Failed, downloadError_);
    if (!Download(ServerFile(kManifestFile) + ".sig", signature.Path()))
        return fail(UpdateOutcome::Result::Refused,
                    "its signature could not be retrieved (" + downloadError_ + ")");

    std::string signatureText;
    std::string key;
    std::string problem;
    if (!ReadText(manifest.Path(), text, problem) ||
        !ReadText(signature.Path(), signatureText, problem))
        return fail(UpdateOutcome::Result::Failed, problem);
    if (!UpdatePublicKey(key, problem) || !VerifyUpdateSignature(text, signatureText, key, problem))
        return fail(UpdateOutcome::Result::Refused, problem);
    try {
        SaveFileAtomically(target, text);
    } catch (const std::exception& failure) {
        // The check goes on from the verified text; only the local copy is stale.
        Log(failure.what());
    }
    return true;
}

bool BaseSmartUpdateClass::ReportProgramVersion(const std::string& programVersion) {
    const std::string serverVersion = manifest_.GetValue("/" + ProductName, kRevision);
    outcome_.ServerVersion = serverVersion;
    outcome_.NewerProgram = IsNewerRevision(serverVersion, programVersion);
    if (!outcome_.NewerProgram)
        return false;
    if (!silent_) {
        ShowNewVersion(serverVersion);
    } else if (settings_.ReadExeValue("ShowUpgradeNotice").empty()) {
        if (Ask(kDownloadQuestion, false))
            ShowNewVersion(serverVersion);
        else if (!Ask(kAnnouncementsQuestion, true))
            settings_.WriteExeValue("ShowUpgradeNotice", "No");
    }
    return true;
}

void BaseSmartUpdateClass::ShowNewVersion(const std::string& serverVersion) {
    Say("Version: " + serverVersion + " of " + ProductName + " is now available at\n" +
        DownloadPage + "\nClick OK and we will attempt\nto launch your browser to this page.");
    if (host_.OpenPage)
        host_.OpenPage(DownloadPage);
}

bool BaseSmartUpdateClass::CheckFile(const SmartUpdateFileClass& file, FileOutcome& result) {
    result.FileName = file.FileName;
    result.RestartNeeded = file.RestartNeeded;
    result.LocalRevision = GrabBaseClass::GetRevision(ProgramFolder() + file.FileName);
    result.ServerRevision = ManifestValue(file.FileName, kRevision);
    if (!IsNewerRevision(result.ServerRevision, result.LocalRevision))
        return false;
    if (!file.Silent && !Ask(kFileQuestion, false))
        result.State = FileOutcome::Result::Declined;
    else
        FetchFile(file, result);
    return true;
}

void BaseSmartUpdateClass::FetchFile(const SmartUpdateFileClass& file, FileOutcome& result) {
    const TemporaryDownload download(ProgramFolder() + file.FileName);
    if (!silent_)
        ShowProgress();
    const bool fetched =
        !download.Path().empty() && Download(ServerFile(file.FileName), download.Path());
    if (!silent_)
        CloseProgress();
    if (cancelled_) {
        result.State = FileOutcome::Result::Cancelled;
        return;
    }
    if (!fetched) {
        result.State = FileOutcome::Result::Failed;
        result.Message = Unretrieved(file.FileName);
        result.Reason = download.Path().empty() ? download.Problem() : downloadError_;
        Log(result.Message + " - " + result.Reason);
        Say(result.Message);
        return;
    }
    if (Install(file, download.Path(), result))
        result.State = FileOutcome::Result::Updated;
}

bool BaseSmartUpdateClass::Install(const SmartUpdateFileClass& file, const std::string& download,
                                   FileOutcome& result) {
    const auto refuse = [&](FileOutcome::Result state, const std::string& reason,
                            const std::string& message) {
        result.State = state;
        result.Message = message;
        result.Reason = reason;
        Log(message);
        Say(message);
        return false;
    };
    std::string contents;
    std::string problem;
    if (!ReadText(download, contents, problem))
        return refuse(FileOutcome::Result::Failed, problem, Unretrieved(file.FileName));
    const std::string checksum = ManifestValue(file.FileName, kChecksum);
    std::string reason;
    if (checksum.empty())
        reason = "Master.chl gives no checksum for it";
    else if (!SameText(Sha256Hex(contents), checksum))
        reason = "its signature does not match";
    else if (RevisionNumber(GrabBaseClass::GetRevision(download)) !=
             RevisionNumber(result.ServerRevision))
        reason = "its revision is not the one Master.chl gives";
    else if (!ReadableAsDataFile(file.FileName, download, contents))
        reason = "it is not a readable data file";
    if (!reason.empty())
        return refuse(FileOutcome::Result::Refused, reason, Refusal(file.FileName, reason));

    const std::string target = ProgramFolder() + file.FileName;
    try {
        std::string previous;
        if (ReadWholeFile(target, previous))
            SaveFileAtomically(target + ".bak", previous);
        SaveFileAtomically(target, contents);
    } catch (const std::exception& failure) {
        return refuse(FileOutcome::Result::Failed, failure.what(),
                      "The update of " + file.FileName + " could not be saved: " + failure.what());
    }
    Log("Updated " + file.FileName + " to revision " + result.ServerRevision);
    return true;
}

bool BaseSmartUpdateClass::ReadableAsDataFile(const std::string& fileName, const std::string& path,
                                              const std::string& contents) const {
    // The catalogue is a line file of its own; every other file is a tagged data file.
    if (SameText(fileName, LocationListClass::kCatalogueFile)) {
        try {
            return !LocationListClass(path).ReadItems().empty();
        } catch (const std::exception&) {
            return false;
        }
    }
    GrabBaseClass data;
    data.LoadFromText(contents);
    return data.Root.NV.Count() > 0 || !data.Root.Children.empty();
}

bool BaseSmartUpdateClass::Download(const std::string& url, const std::string& path) {
    downloadError_.clear();
    if (cancelled_) {
        downloadError_ = "Connection aborted on request";
        return false;
    }
    downloader_ = std::make_unique<DownloadClass>();
    if (!proxyHost_.empty())
        downloader_->SetProxy(proxyHost_, proxyPort_, proxyUserName_, proxyPassword_);
    if (!silent_)
        downloader_->ProgressControl = host_.Progress;
    const bool ok = downloader_->GetFile(url, path, false);
    if (!ok)
        downloadError_ = downloader_->ErrorText();
    downloader_.reset();
    return ok;
}

std::string BaseSmartUpdateClass::ServerFile(const std::string& fileName) const {
    return ServerAddress + "/chls/" + fileName;
}

std::string BaseSmartUpdateClass::ManifestValue(const std::string& fileName, const char* name) {
    return manifest_.GetValue("/" + ProductName + "/" + fileName, name);
}

bool BaseSmartUpdateClass::ShouldAutoCheck() {
    if (RandomDigit() != 1)
        return false;
    const std::string today = Decimal(Today());
    if (settings_.ReadExeValue("AutoUpdateDate") == today)
        return false;
    settings_.WriteExeValue("AutoUpdateDate", today);
    return true;
}

int64_t BaseSmartUpdateClass::DayNumber(int year, int month, int day) {
    return DaysSince1970(year, month, day) - DaysSince1970(1, 1, 1);
}

int64_t BaseSmartUpdateClass::TodayNumber() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return DayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void BaseSmartUpdateClass::Say(const std::string& text) const {
    if (host_.Message)
        host_.Message(text);
    else
        ShowMessage(text);
}

bool BaseSmartUpdateClass::Ask(const std::string& question, bool unattended) const {
    return host_.Ask ? host_.Ask(question, unattended) : unattended;
}

void BaseSmartUpdateClass::ShowProgress() const {
    if (host_.ShowProgress)
        host_.ShowProgress(kCheckingMessage);
}

void BaseSmartUpdateClass::CloseProgress() const {
    if (host_.CloseProgress)
        host_.CloseProgress();
}

} // namespace olv
