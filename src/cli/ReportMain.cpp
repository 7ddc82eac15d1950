// olvenar-report: the weather of the cities given, retrieved and composed as the window reads it,
// for terminals, cron jobs and screen readers; spoken, or rendered into a sound file.

#include "cli/CheckUpdate.h"
#include "cli/ReportCommand.h"
#include "cli/ReportOptions.h"
#include "cli/ReportSpeech.h"
#include "cli/TerminalText.h"
#include "platform/MessageHook.h"
#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "platform/qt/EventWait.h"
#include "platform/qt/QtPlatform.h"
#include "util/Log.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Time for the sound server's last notices about closed streams (see main).
constexpr auto kSoundServerGrace = 50ms;
// How often long operations let events in.
constexpr auto kEventTurn = 5ms;

// An interrupt sets the flag and, once the event loop runs, wakes it through the pipe.
volatile std::sig_atomic_t interrupted = 0;
int interruptPipe[2] = {-1, -1};

void OnInterrupt(int) {
    interrupted = 1;
    if (interruptPipe[1] >= 0) {
        const ssize_t written = write(interruptPipe[1], "!", 1);
        (void)written; // a full pipe has woken the loop already
    }
}

void CatchInterrupts() {
    if (pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        interruptPipe[0] = interruptPipe[1] = -1;
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    // A pipe whose reader went away is reported by the writer, not fatal to the program.
    std::signal(SIGPIPE, SIG_IGN);
}

bool HasReportsToRead(const olv::ReportOptions& options) {
    return !options.FindText.empty() || !options.Keys.empty() || options.MyCities ||
           options.Store || !options.MyCitiesChanges.empty();
}

// True when the sound file given is this program's standard output (--wav /dev/stdout): the
// reports are then printed to standard error, so that they do not run into the audio.
bool FileIsStandardOutput(const olv::ReportOptions& options) {
    struct stat file {
    }, out{};
    const std::string& path = options.WavFile.empty() ? options.Mp3File : options.WavFile;
    return !path.empty() && stat(path.c_str(), &file) == 0 && fstat(STDOUT_FILENO, &out) == 0 &&
           file.st_dev == out.st_dev && file.st_ino == out.st_ino;
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
    std::ostream& reports = FileIsStandardOutput(options) ? std::cerr : std::cout;
    command.OnReport = [&speech, &reports](const std::string&, const std::string& text) {
        reports << text << '\n' << std::flush;
        return speech.Deliver(text);
    };
    return HasReportsToRead(options);
}

// Reads the reports the options ask for; the speech objects are gone when it returns.
int RunReports(const olv::ReportOptions& options, bool hasEventLoop) {
    olv::ReportCommand command(options, std::cout, std::cerr);
    olv::ReportSpeech speech(options, std::cout, std::cerr, [](const auto& done) {
        olv::EventWait::Until([&] { return done() || interrupted; }, 24h);
    });
    const auto stop = [&] {
        command.Abort();
        speech.Stop();
    };
    std::unique_ptr<QSocketNotifier> interrupts;
    if (hasEventLoop && interruptPipe[0] >= 0) {
        interrupts = std::make_unique<QSocketNotifier>(interruptPipe[0], QSocketNotifier::Read);
        QObject::connect(interrupts.get(), &QSocketNotifier::activated, [stop] {
            char drained[16];
            while (read(interruptPipe[0], drained, sizeof drained) > 0) {
            }
            stop();
        });
    }
    // The script interpreter asks for this several times for every line it runs: events are
    // let in every few milliseconds, which keeps an interrupt prompt and the run quick.
    auto lastTurn = std::chrono::steady_clock::now();
    olv::SetProcessMessagesHook([&] {
        const auto now = std::chrono::steady_clock::now();
        if (hasEventLoop && now - lastTurn >= kEventTurn) {
            lastTurn = now;
            QCoreApplication::processEvents();
        }
        if (interrupted)
            stop();
    });

    int status = 0;
    if (!options.UsesSpeech() || SetUpSpeech(options, speech, command, status)) {
        status = std::max(status, command.Run());
        status = std::max(status, speech.Finish());
    }
    olv::SetProcessMessagesHook({});
    return status;
}

// Arguments come in the terminal's encoding; the program works in Latin-1.
bool ConvertArguments(olv::ReportOptions& options, const olv::TerminalText& terminal,
                      std::string& error) {
    return options.ConvertTexts(
        [&terminal](std::string& text, std::string& why) {
            std::string latin1, refused;
            if (terminal.ToLatin1(text, latin1, refused)) {
                text = latin1;
                return true;
            }
            why = refused.empty()
                      ? "'" + text + "' is not valid " + terminal.Encoding() + " text"
                      : "'" + text + "' has characters that Olvenar cannot use: " + refused +
                            " (city names and voices are in Latin-1)";
            return false;
        },
        error);
}

} // namespace

int main(int argc, char** argv) {
    const olv::TerminalText terminal;
    olv::TerminalStreamBuf out(terminal, std::cout.rdbuf());
    olv::TerminalStreamBuf err(terminal, std::cerr.rdbuf());
    std::streambuf* const plainOut = std::cout.rdbuf(&out);
    std::streambuf* const plainErr = std::cerr.rdbuf(&err);
    const auto finish = [&](int status) {
        std::cout.flush();
        std::cerr.flush();
        std::cout.rdbuf(plainOut);
        std::cerr.rdbuf(plainErr);
        return status;
    };

    olv::ReportOptions options;
    std::string error;
    bool help = false;
    if (!options.Parse(argc, argv, error, help)) {
        std::cerr << "olvenar-report: " << error << '\n' << olv::ReportOptions::Usage();
        return finish(64);
    }
    if (!ConvertArguments(options, terminal, error)) {
        // Quotes what was typed, in the terminal's own encoding.
        std::ostream(plainErr) << "olvenar-report: " << error << '\n';
        return finish(64);
    }
    if (help) {
        std::cout << olv::ReportOptions::Usage();
        return finish(0);
    }
    std::error_code ec;
    options.ResolveFiles(std::filesystem::current_path(ec).string());

    olv::SetProgramFileName(argv[0]);
    std::string problem =
        olv::PrepareProgramFolder(olv::DefaultProgramFolder(), olv::ShippedDataFolder(argv[0]));
    if (!problem.empty()) {
        std::cerr << "olvenar-report: " << problem << '\n';
        return finish(1);
    }
    olv::StartLog(olv::ProgramFolder(), olv::ProgramFileName());
    olv::SetMessageHook([](const std::string& text) {
        std::cerr << "olvenar-report: " << text << '\n' << std::flush;
    });
    CatchInterrupts();
    if (options.CheckUpdate)
        return finish(olv::CheckUpdate(options, std::cout, std::cerr));

    // Sound devices and the speech engines' timers need the Qt event loop.
    std::unique_ptr<QCoreApplication> app;
    if (options.UsesSpeech()) {
        app = std::make_unique<QCoreApplication>(argc, argv);
        olv::InstallQtEventLoop();
    }
    if ((options.Speak || options.ListDevices) && !olv::LoadQtAudioModule(problem)) {
        std::cerr << "olvenar-report: " << problem << '\n';
        return finish(1);
    }
    const int status = RunReports(options, app != nullptr);
    if (app && olv::QtAudioStreamsOpened() > 0) {
        // The sound server's last notices about the closed streams reach Qt's PulseAudio
        // engine on a thread of its own; torn down meanwhile, it can abort.
        olv::EventWait::For(kSoundServerGrace);
    }
    olv::SetMessageHook({});
    return finish(status);
}
