// olvenar-report: the weather of the cities given, retrieved and composed as the window reads it,
// for terminals, cron jobs and screen readers; spoken, or rendered into a sound file.

#include "cli/CheckUpdate.h"
#include "cli/ReportCommand.h"
#include "cli/ReportOptions.h"
#include "cli/ReportSpeech.h"
#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "platform/qt/QtPlatform.h"
#include "util/Log.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {
volatile std::sig_atomic_t interrupted = 0;
void OnInterrupt(int) {
    interrupted = 1;
}

bool HasReportsToRead(const olv::ReportOptions& options) {
    return !options.FindText.empty() || !options.Keys.empty() || options.MyCities || options.Store;
}

// The speech options: lists, checks, and the hook that speaks or keeps each report. False when
// the tool ends here with status.
bool SetUpSpeech(const olv::ReportOptions& options, olv::ReportSpeech& speech,
                 olv::ReportCommand& command, int& status) {
    status = options.ListDevices ? speech.ListDevices() : 0;
    if (options.ListVoices || options.Speak || options.WritesFile()) {
        if (const int problem = speech.Prepare()) {
            status = problem;
            return false;
        }
    }
    if (options.ListVoices)
        status = std::max(status, speech.ListVoices());
    command.OnReport = [&speech](const std::string&, const std::string& text) {
        std::cout << text << '\n' << std::flush;
        return speech.Deliver(text);
    };
    return HasReportsToRead(options);
}

// Reads the reports the options ask for; the speech objects are gone when it returns.
int RunReports(const olv::ReportOptions& options, bool hasEventLoop) {
    olv::ReportCommand command(options, std::cout, std::cerr);
    olv::ReportSpeech speech(options, std::cout, std::cerr);
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    olv::SetProcessMessagesHook([&] {
        if (hasEventLoop)
            QCoreApplication::processEvents();
        if (interrupted) {
            command.Abort();
            speech.Stop();
        }
    });
    speech.Pump = [&] {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        olv::ProcessMessages();
    };

    int status = 0;
    if (!options.UsesSpeech() || SetUpSpeech(options, speech, command, status)) {
        status = std::max(status, command.Run());
        status = std::max(status, speech.Finish());
    }
    olv::SetProcessMessagesHook({});
    return status;
}
} // namespace

int main(int argc, char** argv) {
    olv::ReportOptions options;
    std::string error;
    bool help = false;
    if (!options.Parse(argc, argv, error, help)) {
        std::cerr << "olvenar-report: " << error << '\n' << olv::ReportOptions::Usage();
        return 64;
    }
    if (help) {
        std::cout << olv::ReportOptions::Usage();
        return 0;
    }
    std::error_code ec;
    options.ResolveFiles(std::filesystem::current_path(ec).string());

    olv::SetProgramFileName(argv[0]);
    const std::string problem =
        olv::PrepareProgramFolder(olv::DefaultProgramFolder(), olv::ShippedDataFolder(argv[0]));
    if (!problem.empty()) {
        std::cerr << "olvenar-report: " << problem << '\n';
        return 1;
    }
    olv::StartLog(olv::ProgramFolder(), olv::ProgramFileName());
    if (options.CheckUpdate)
        return olv::CheckUpdate(options, std::cout, std::cerr);

    // Sound devices and the speech engines' timers need the Qt event loop.
    std::unique_ptr<QCoreApplication> app;
    if (options.UsesSpeech()) {
        app = std::make_unique<QCoreApplication>(argc, argv);
        olv::InstallQtPlatform();
    }
    const int status = RunReports(options, app != nullptr);
    if (app) {
        // Lets the sound server's last notices about closed streams arrive first: Qt's
        // PulseAudio engine, torn down with the application object, can abort on one that
        // comes in meanwhile.
        QDeadlineTimer deadline(300);
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return status;
}
