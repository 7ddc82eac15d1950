#include "cli/CheckUpdate.h"

#include "cli/ReportOptions.h"
#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "settings/OlvenarRegistryClass.h"
#include "update/ProgramUpdater.h"
#include "util/UtilsClass.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace olv {
namespace {

// The window's program file name, which names its per-program settings.
constexpr const char* kWindowProgram = "olvenar";

volatile std::sig_atomic_t interrupted = 0;
void OnInterrupt(int) {
    interrupted = 1;
}

bool AskOnTerminal(const std::string& question, bool unattended, std::ostream& out) {
    const std::string text = UtilsClass::ReplaceAll(question, "\n", " ");
    if (!::isatty(STDIN_FILENO)) {
        out << text << ' ' << (unattended ? "Yes" : "No") << " (no one to answer)\n";
        return unattended;
    }
    out << text << " [y/n] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return unattended;
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

// One line a file; true when it failed or was refused.
bool PrintFile(const FileOutcome& file, std::ostream& out, std::ostream& err) {
    switch (file.State) {
    case FileOutcome::Result::Current:
        out << file.FileName << ": revision " << file.LocalRevision << " is current.\n";
        return false;
    case FileOutcome::Result::Updated:
        out << file.FileName << ": updated from revision " << file.LocalRevision << " to "
            << file.ServerRevision << ".\n";
        return false;
    case FileOutcome::Result::Declined:
        out << file.FileName << ": revision " << file.ServerRevision << " is available ("
            << file.LocalRevision << " here) and was left.\n";
        return false;
    case FileOutcome::Result::Failed:
        err << file.Message << " - " << file.Reason << '\n';
        return true;
    case FileOutcome::Result::Refused:
        err << file.Message << '\n';
        return true;
    case FileOutcome::Result::Cancelled:
        err << file.FileName << ": cancelled\n";
        return true;
    }
    return true;
}

int PrintOutcome(const UpdateOutcome& outcome, const std::string& version, std::ostream& out,
                 std::ostream& err) {
    switch (outcome.Manifest) {
    case UpdateOutcome::Result::Read:
        break;
    case UpdateOutcome::Result::Failed:
        err << outcome.Message << " - " << outcome.Reason << '\n';
        return 1;
    default:
        err << outcome.Message << '\n';
        return 1;
    }
    if (outcome.NewerProgram) {
        out << ProgramUpdater::kProductName << ' ' << outcome.ServerVersion << " is available at "
            << ProgramUpdater::DownloadPage() << " (this is " << version
            << "); the data files are left until it is installed.\n";
        return 0;
    }
    int status = 0;
    bool restart = false;
    for (const FileOutcome& file : outcome.Files) {
        status = PrintFile(file, out, err) ? 1 : status;
        restart = restart || (file.RestartNeeded && file.State == FileOutcome::Result::Updated);
    }
    if (restart)
        out << "Restart " << ProgramUpdater::kProductName
            << " if it is running, for the new files to take effect.\n";
    return status;
}

} // namespace

int CheckUpdate(const ReportOptions& options, std::ostream& out, std::ostream& err) {
    const std::string ownName = ProgramFileName();
    SetProgramFileName(kWindowProgram);
    OlvenarRegistryClass settings;
    settings.LoadAll();
    if (!options.ProxyHost.empty()) {
        settings.SetValue("ProxyHost", options.ProxyHost);
        settings.SetValue("ProxyPort", options.ProxyPort);
    }

    SmartUpdateHost host;
    // The outcome below says everything in a terminal's words.
    host.Message = [](const std::string&) {};
    host.Ask = [&out](const std::string& question, bool unattended) {
        return AskOnTerminal(question, unattended, out);
    };
    host.OpenPage = [&out](const std::string& page) { out << "Download page: " << page << '\n'; };
    ProgramUpdater updater(settings, host);

    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    const auto previousPump = SetProcessMessagesHook([&updater] {
        if (interrupted)
            updater.Cancel();
    });
    updater.CheckSilently();
    SetProcessMessagesHook(previousPump);
    SetProgramFileName(ownName);
    return PrintOutcome(updater.LastOutcome(), settings.VersionText(), out, err);
}

} // namespace olv
