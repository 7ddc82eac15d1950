// Figures of the window, run by hand or by CI as a report:
// - start to window shown (catalogue, My Cities and settings loaded) beside a bare QMainWindow
//   program started the same way (offscreen, each appending a line to a log when first shown);
// - the longest pause of the event loop while a slow loopback weather service is read and speech
//   runs (spoken to the sound server when there is one, else rendered into a file);
// - idle: CPU time over 60 seconds with the window open and nothing to do, and its resident
//   memory (skipped with --quick).

#include "BenchTimer.h"
#include "app/CitySession.h"
#include "app/ReadingCommands.h"
#include "app/TOVForm.h"
#include "app/dialogs/Prompter.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "platform/qt/QtPlatform.h"
#include "speech/AudioDevices.h"
#include "support/ServiceResponses.h"
#include "support/http/HttpTestServer.h"
#include "weather/CityDataClass.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 11;
constexpr const char* kShown = "OVForm ->In FormShow";
const std::string kHagatna = "United States|Guam|Hagatna";

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs events until the file holds marker; false after 30 s.
bool WaitForLine(const std::string& file, const char* marker) {
    QEventLoop loop;
    QTimer look;
    bool found = false;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        std::string text;
        if (olv::ReadWholeFile(file, text) && text.find(marker) != std::string::npos) {
            found = true;
            loop.quit();
        }
    });
    look.start(2);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    return found;
}

QProcessEnvironment Environment(const QTemporaryDir& home, const QTemporaryDir& runtime) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("OLVENAR_HOME", home.path());
    environment.insert("OLVENAR_CONFIG_DIR", home.filePath("config"));
    environment.insert("OLVENAR_SHIPPED_DATA", OLVENAR_SOURCE_DIR "/data");
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.insert("BENCH_SHOWN_LOG", home.filePath("bare.log"));
    return environment;
}

// Starts program and returns the milliseconds until its log says the window was shown; the
// process keeps running.
double Start(QProcess& process, const QString& program, const QProcessEnvironment& environment,
             const std::string& log) {
    std::remove(log.c_str());
    process.setProcessEnvironment(environment);
    const Clock::time_point start = Clock::now();
    process.start(program, {});
    return WaitForLine(log, kShown) ? MsSince(start) : -1;
}

double MedianStart(const QString& program, const QProcessEnvironment& environment,
                   const std::string& log) {
    std::vector<double> times;
    for (int run = 0; run <= kRuns; ++run) {
        QProcess process;
        const double ms = Start(process, program, environment, log);
        process.kill();
        process.waitForFinished();
        if (run > 0) // the first run warms the file cache
            times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A program folder with five My Cities and their stored weather; settings of a second run.
void SeedProgramFolder(const QTemporaryDir& home) {
    const std::string folder = home.path().toStdString() + "/";
    olv::MakeFolders(folder + "config");
    olv::SaveFileAtomically(folder + "config/registry",
                            "[Software\\HalvernWorks\\Olvenar]\nsz:StartupSaved=1\n"
                            "[Software\\HalvernWorks\\olvenar]\nsz:ShowTips=N\n");
    const char* const keys[] = {"United States|Massachusetts|Boston", "Europe|France|Paris",
                                "United States|Guam|Hagatna", "Asia|Japan|Tokyo",
                                "United States|Texas|Austin"};
    std::string list = "<MyCitiesList>5</MyCitiesList>\r\n";
    olv::SetProgramFolder(folder);
    for (int i = 0; i < 5; ++i) {
        list += "<MyCitiesList" + std::to_string(i) + ">" + keys[i] + "</MyCitiesList" +
                std::to_string(i) + ">\r\n";
        olv::CityDataClass record(keys[i]);
        record.Temperature = "45";
        record.Conditions = "Sunny";
        record.Wind = "NW at 10 mph";
        record.SaveRecord(olv::CityDataClass::kMyCitiesDataFile, std::string("/") + keys[i]);
    }
    olv::SaveFileAtomically(folder + "MyCities.chl", list);
}

void MeasureStart(const QTemporaryDir& home) {
    QTemporaryDir runtime;
    const QProcessEnvironment environment = Environment(home, runtime);
    const double window = MedianStart(QStringLiteral(OLVENAR_BINARY_DIR "/olvenar"), environment,
                                      home.filePath("olvenar.dbg").toStdString());
    const double bare =
        MedianStart(QStringLiteral(OLVENAR_BINARY_DIR "/bench/app/bench_bare_window"), environment,
                    home.filePath("bare.log").toStdString());
    std::printf("start to window shown: olvenar %.0f ms, bare QMainWindow %.0f ms (%.2fx), "
                "median of %d\n",
                window, bare, window / bare, kRuns);
}

long CpuTicks(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            user = std::stol(field);
        if (i == 15)
            system = std::stol(field);
    }
    return user + system;
}

long ResidentKb(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

void MeasureIdle(const QTemporaryDir& home) {
    QTemporaryDir runtime;
    QProcess process;
    Start(process, QStringLiteral(OLVENAR_BINARY_DIR "/olvenar"), Environment(home, runtime),
          home.filePath("olvenar.dbg").toStdString());
    RunFor(10000); // the gauges come to rest
    const long before = CpuTicks(process.processId());
    RunFor(60000);
    const double seconds = double(CpuTicks(process.processId()) - before) / sysconf(_SC_CLK_TCK);
    std::printf("idle for 60 s: %.2f s of CPU time, %ld MB resident\n", seconds,
                ResidentKb(process.processId()) / 1024);
    process.kill();
    process.waitForFinished();
}

struct PrintedMessages final : olv::Prompter {
    void Tell(QWidget*, const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool AskYesNo(QWidget*, const QString&) override { return false; }
};

// The window itself, in this process, reading the weather of a city from a loopback service
// that answers slowly, while it speaks.
void MeasureGaps() {
    QTemporaryDir home;
    const std::string folder = home.path().toStdString() + "/";
    const std::string nws = olv::test::ServiceResponse(olv::test::kNwsHagatna);
    olv::test::HttpTestServer server([&](const olv::test::HttpTestRequest&) {
        olv::test::HttpTestResponse response = olv::test::HttpTestResponse::Ok(nws);
        response.delayBefore = std::chrono::milliseconds(300);
        response.pieceSize = nws.size() / 10 + 1;
        response.delayBetweenPieces = std::chrono::milliseconds(150);
        return response;
    });
    olv::SaveFileAtomically(folder + "OVDef.chl",
                            "Bench\r\nUnited States\r\nGuam\r\nHagatna\r\n" +
                                server.Url("/MapClick.php?lat=13.47&lon=144.75&FcstType=json") +
                                "\r\n13.47\r\n144.75\r\nUp\r\nUp\r\nUp\r\n");
    olv::SaveFileAtomically(folder + "MyCities.chl", "<MyCitiesList>1</MyCitiesList>\r\n"
                                                     "<MyCitiesList0>" +
                                                         kHagatna + "</MyCitiesList0>\r\n");
    for (const char* file : {"Olvenar.chl", "Lookup.dat"}) {
        std::string text;
        olv::ReadWholeFile(std::string(OLVENAR_SOURCE_DIR "/data/") + file, text);
        olv::SaveFileAtomically(folder + file, text);
    }
    olv::SetProgramFolder(folder);
    olv::RegistryStore::Shared().Open(folder + "registry");

    PrintedMessages messages;
    olv::Prompter* const previous = olv::Prompter::Install(&messages);
    olv::TOVForm window(olv::StartSwitch::None);
    window.show();
    // Spoken when there is a sound server, else rendered into a file.
    const bool spoken = olv::AudioDevices::Count() > 0;
    window.Speech().OutputDir = folder;
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Here are the current conditions for Hagatna, Guam. The temperature is 77. ";

    double longest = 0;
    Clock::time_point last = Clock::now();
    bool measuring = false;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, [&] {
        if (measuring)
            longest = std::max(longest, MsSince(last));
        last = Clock::now();
    });
    turn.start(0);
    QEventLoop loop;
    double took = 0;
    QTimer::singleShot(100, [&] {
        const Clock::time_point start = Clock::now();
        measuring = true;
        last = start;
        if (spoken)
            window.Readings().Speak(text, olv::kReport);
        else
            window.Readings().SpeakToFile("Bench", text, olv::kReport);
        window.Cities().UpdateCurrent();
        took = MsSince(start);
        measuring = false;
        loop.quit();
    });
    loop.exec();
    window.Speech().Stop();
    std::printf("retrieval (%.0f ms, slow service) with speech %s: longest event-loop pause "
                "%.0f ms\n",
                took, spoken ? "spoken" : "rendered into a file", longest);
    olv::Prompter::Install(previous);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    olv::InstallQtPlatform();
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;

    QTemporaryDir home;
    SeedProgramFolder(home);
    MeasureStart(home);
    MeasureGaps();
    if (!quick)
        MeasureIdle(home);
    RunFor(300); // the sound server's last notices, before Qt goes
    return 0;
}
