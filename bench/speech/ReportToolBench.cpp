// olvenar-report as a user runs it, side by side with the command-line tools on the same text:
//   olvenar-report --conditions --wav F KEY    against  espeak-ng -v en-us -f report.txt -w F
//   olvenar-report --conditions --mp3 F KEY    against  espeak-ng ... --stdout | lame -b 32 -m m
//   olvenar-report --list-voices               (goal: under 50 ms)
//   olvenar-report --conditions --speak KEY    CPU time against the audio's length (goal: <10%)
// The city's weather comes from a loopback server with a stored National Weather Service
// response; the program runs with a program folder and settings of its own. Goals: the WAV run
// within 1.5x of espeak-ng, the MP3 run at or below the pipe.
//
// Usage: bench_report_tool [runs] [--against FOLDER]   (run from anywhere: the program is found
// in this one's build folder). --against times the olvenar-report of another build folder as
// well, run by run in turn with this one, for before-and-after figures from one sitting.

#include "support/ServiceResponses.h"
#include "support/http/HttpTestServer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kCity = "United States|Guam|Hagatna";

struct Run {
    bool Ok = false;
    double WallMs = 0;
    double CpuMs = 0;
};

// Runs a shell command line, its output to /dev/null unless the command says otherwise.
Run Shell(const std::string& command) {
    std::string line = command;
    char sh[] = "/bin/sh", dashC[] = "-c";
    char* argv[] = {sh, dashC, line.data(), nullptr};
    const auto started = std::chrono::steady_clock::now();
    pid_t pid = -1;
    Run run;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0)
        return run;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.WallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    run.CpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median wall and CPU times of commands run in turn, so that a busy moment of the machine
// weighs on all of them alike. CPU time is the steadier figure on a shared machine.
std::vector<Run> Medians(int runs, const std::vector<std::string>& commands) {
    std::vector<std::vector<double>> wall(commands.size()), cpu(commands.size());
    for (int run = 0; run < runs; ++run)
        for (size_t i = 0; i < commands.size(); ++i) {
            const Run done = Shell(commands[i]);
            if (!done.Ok)
                std::fprintf(stderr, "failed: %s\n", commands[i].c_str());
            wall[i].push_back(done.WallMs);
            cpu[i].push_back(done.CpuMs);
        }
    std::vector<Run> medians;
    for (size_t i = 0; i < commands.size(); ++i)
        medians.push_back({true, Median(wall[i]), Median(cpu[i])});
    return medians;
}

void Row(const char* what, const Run& times, const Run* reference = nullptr,
         const char* goal = "") {
    std::printf("  %-46s %7.1f ms", what, times.WallMs);
    if (reference)
        std::printf(" %5.2fx", times.WallMs / reference->WallMs);
    std::printf("   CPU %6.1f ms", times.CpuMs);
    if (reference)
        std::printf(" %5.2fx  (goal %s)", times.CpuMs / reference->CpuMs, goal);
    std::printf("\n");
}

// Seconds of audio in a canonical WAV file of 16-bit mono at 22050 Hz.
double WavSeconds(const fs::path& file) {
    std::error_code ec;
    return double(fs::file_size(file, ec) - 44) / (2 * 22050);
}

// The olvenar-report command line with the program folder of the bench, from build folder.
std::string ReportCommand(const fs::path& folder, const std::string& build) {
    return "cd '" + folder.string() + "' && OLVENAR_HOME=home OLVENAR_CONFIG_DIR=config " +
           "OLVENAR_SHIPPED_DATA='" + OLVENAR_SOURCE_DIR + "/data' '" + build + "/olvenar-report' ";
}

} // namespace

int main(int argc, char** argv) {
    int runs = 10;
    std::string against;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--against" && i + 1 < argc)
            against = argv[++i];
        else
            runs = std::max(1, std::atoi(argv[i]));
    }
    const fs::path folder =
        fs::temp_directory_path() / ("olvenar-report-bench-" + std::to_string(getpid()));
    fs::create_directories(folder / "home");
    const std::string nws = olv::test::ServiceResponse(olv::test::kNwsHagatna);
    olv::test::HttpTestServer server([&](const olv::test::HttpTestRequest&) {
        return olv::test::HttpTestResponse::Ok(nws, "application/json");
    });
    std::ofstream(folder / "home/OVDef.chl")
        << "Bench catalogue\r\nUnited States\r\nGuam\r\nHagatna\r\n"
        << server.Url("/MapClick.php?lat=13.4719&lon=144.7498&FcstType=json")
        << "\r\n13.47\r\n144.75\r\nUp\r\nUp\r\nUp\r\n";
    const std::string report = ReportCommand(folder, OLVENAR_BINARY_DIR);
    const std::string city = " '" + kCity + "' >/dev/null";
    const std::string tools = "cd '" + folder.string() + "' && espeak-ng -v en-us -f report.txt";
    if (!Shell(report + "--conditions '" + kCity + "' > report.txt").Ok ||
        !Shell(tools + " -w tool.wav").Ok) {
        std::fprintf(stderr, "olvenar-report or espeak-ng did not run\n");
        return 1;
    }

    std::printf("The conditions of Hagatna (%.1f s of speech), median of %d runs:\n",
                WavSeconds(folder / "tool.wav"), runs);
    const std::vector<std::string> own = {"--conditions --wav own.wav" + city,
                                          "--conditions --mp3 own.mp3" + city,
                                          "--conditions" + city, "--list-voices >/dev/null"};
    std::vector<std::string> commands = {tools + " -w tool.wav",
                                         tools + " --stdout | lame --quiet -b 32 -m m - tool.mp3"};
    for (const std::string& options : own)
        commands.push_back(report + options);
    const std::string other = against.empty() ? "" : ReportCommand(folder, against);
    for (const std::string& options : own)
        if (!other.empty())
            commands.push_back(other + options);
    const std::vector<Run> ms = Medians(runs, commands);
    Row("espeak-ng -w", ms[0]);
    Row("espeak-ng --stdout | lame --quiet -b 32 -m m", ms[1]);
    const auto rows = [&](size_t first, const char* label) {
        std::printf("%s\n", label);
        Row("olvenar-report --conditions --wav", ms[first], &ms[0], "<= 1.5x");
        Row("olvenar-report --conditions --mp3", ms[first + 1], &ms[1], "<= 1.0x");
        Row("olvenar-report --conditions (printed only)", ms[first + 2]);
        Row("olvenar-report --list-voices", ms[first + 3]);
        std::printf("  %-46s %s\n", "",
                    ms[first + 3].WallMs < 50 ? "(under 50 ms)" : "(OVER 50 ms)");
    };
    rows(2, "this build:");
    if (!other.empty())
        rows(2 + own.size(), ("the build in " + against + ":").c_str());

    const Run spoken = Shell(report + "--conditions --speak" + city);
    if (spoken.Ok) {
        const double audioMs = WavSeconds(folder / "own.wav") * 1000;
        std::printf("  %-46s %7.1f ms CPU for %.1f s of speech: %.1f%% (goal < 10%%)\n",
                    "olvenar-report --conditions --speak", spoken.CpuMs, audioMs / 1000,
                    100 * spoken.CpuMs / audioMs);
    } else {
        std::printf("  --speak not measured: no sound server\n");
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    return 0;
}
