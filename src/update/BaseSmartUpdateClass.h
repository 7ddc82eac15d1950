#pragma once

#include "scripts/GrabBaseClass.h"
#include "update/SmartUpdateFileClass.h"
#include "update/SmartUpdateHost.h"
#include "update/UpdateOutcome.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace olv {

class DownloadClass;
class TBaseRegistryClass;

// Keeps the program's data files current from the update server and tells the user of a newer
// program version. The server holds "chls/Master.chl", its Ed25519 signature
// "chls/Master.chl.sig", and the files; the manifest gives the program's version and each
// file's revision and SHA-256:
//     <key name=Olvenar>            <Revision>1.27</Revision>
//     <key name=Olvenar/Olvenar.chl> <Revision>1.3</Revision> <SHA256>9f2c...</SHA256>
// A file is replaced only when the manifest's signature and the file's digest prove both ours
// and the file reads as a data file; the previous copy stays as "<name>.bak". Anything that
// fails a check changes nothing.
//
// Built afresh for each check. Questions, messages and progress go through the host; a
// "Cancel" of the host's progress dialog calls Cancel().
class BaseSmartUpdateClass {
public:
    static constexpr const char* kManifestFile = "Master.chl";

    explicit BaseSmartUpdateClass(TBaseRegistryClass& settings, SmartUpdateHost host = {});
    ~BaseSmartUpdateClass();
    BaseSmartUpdateClass(const BaseSmartUpdateClass&) = delete;
    BaseSmartUpdateClass& operator=(const BaseSmartUpdateClass&) = delete;

    std::vector<SmartUpdateFileClass> Files; // checked in this order
    std::string ProductName;                 // the manifest section of the program
    std::string DownloadPage;                // where a newer program version is offered
    // The base address below which "/chls/" lies: UpdateServerAddress() unless set; empty for
    // a build without an update server.
    std::string ServerAddress;

    void SetProxy(const std::string& host, const std::string& port, const std::string& userName,
                  const std::string& password);

    // Compares the server's manifest with programVersion and the local files, and fetches the
    // files that are newer (asking first for those that are not silent). Interactive checks
    // show progress and say how it ended; silent ones speak only when something needs the user.
    // True when at least one file was newer on the server.
    bool CheckForUpdates(const std::string& programVersion, bool silent);

    // Aborts the transfer in progress and ends the check without further questions.
    void Cancel();

    // The automatic check's gate: true on about one call in ten, at most once a calendar day
    // (remembered in "AutoUpdateDate").
    bool ShouldAutoCheck();
    // Its sources: a random digit from 0 to 9, and today's day number.
    std::function<int()> RandomDigit;
    std::function<int64_t()> Today;
    // Days from 1 January of year 1 to the date given.
    static int64_t DayNumber(int year, int month, int day);
    static int64_t TodayNumber();

    const UpdateOutcome& Outcome() const { return outcome_; }

private:
    bool Usable();
    bool FetchManifest();
    bool FetchVerifiedManifest(std::string& text);
    bool ReportProgramVersion(const std::string& programVersion);
    void ShowNewVersion(const std::string& serverVersion);
    bool CheckFile(const SmartUpdateFileClass& file, FileOutcome& result);
    void FetchFile(const SmartUpdateFileClass& file, FileOutcome& result);
    bool Install(const SmartUpdateFileClass& file, const std::string& download,
                 FileOutcome& result);
    bool ReadableAsDataFile(const std::string& fileName, const std::string& path,
                            const std::string& contents) const;

    // One transfer into path through a fresh downloader that Cancel can reach.
    bool Download(const std::string& url, const std::string& path);
    std::string ServerFile(const std::string& fileName) const;
    std::string ManifestValue(const std::string& fileName, const char* name);

    void Say(const std::string& text) const;
    bool Ask(const std::string& question, bool unattended) const;
    void ShowProgress() const;
    void CloseProgress() const;

    TBaseRegistryClass& settings_;
    SmartUpdateHost host_;
    std::string proxyHost_;
    std::string proxyPort_;
    std::string proxyUserName_;
    std::string proxyPassword_;
    std::unique_ptr<DownloadClass> downloader_;
    std::string downloadError_;
    bool silent_ = false;
    bool cancelled_ = false;
    GrabBaseClass manifest_;
    UpdateOutcome outcome_;
};

} // namespace olv
