// olvenar-report as a user runs it, side by side with the command-line tools on the same text:
//   olvenar-report --conditions --wav F KEY    against  espeak-ng -v en-us -f report.txt -w F
//   olvenar-report --conditions --mp3 F KEY    against  espeak-ng ... --stdout | lame -b 32 -m m
//   olvenar-report --list-voices               (goal: under 50 ms)
//   olvenar-report --conditions --speak KEY    CPU time against the audio's length (goal: <10%)
// The city's weather comes from a loopback server with a stored National Weather Service
// response; the program runs with a program folder and settings of its own. Goals: the WAV run
// within 1.5x of espeak-ng, the MP3 run at or below the pipe.
//
// Usage: bench_report_tool [runs]   (run from the build folder's bench/speech, or anywhere:
// the program is found beside this one's build folder)

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

// The median wall times of commands run in turn, so that a busy moment of the machine weighs
// on all of them alike.
std::vector<double> MedianWallMs(int runs, const std::vector<std::string>& commands) {
    std::vector<std::vector<double>> times(commands.size());
    for (int run = 0; run < runs; ++run)
        for (size_t i = 0; i < commands.size(); ++i) {
            const Run done = Shell(commands[i]);
            if (!done.Ok)
                std::fprintf(stderr, "failed: %s\n", commands[i].c_str());
            times[i].push_back(done.WallMs);
        }
    std::vector<double> medians;
    for (std::vector<double>& each : times) {
        std::sort(each.begin(), each.end());
        medians.push_back(each[each.size() / 2]);
    }
    return medians;
}

void Row(const char* what, double ms, double reference, const char* goal) {
    std::printf("  %-52s %8.1f ms", what, ms);
    if (reference > 0)
        std::printf("   %.2fx  (goal %s)", ms / reference, goal);
    std::printf("\n");
}

// Seconds of audio in a canonical WAV file of 16-bit mono at 22050 Hz.
double WavSeconds(const fs::path& file) {
    std::error_code ec;
    return double(fs::file_size(file, ec) - 44) / (2 * 22050);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
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
    const std::string report = "cd '" + folder.string() + "' && OLVENAR_HOME=home " +
                               "OLVENAR_CONFIG_DIR=config OLVENAR_SHIPPED_DATA='" +
                               OLVENAR_SOURCE_DIR + "/data' '" + OLVENAR_BINARY_DIR +
                               "/olvenar-report' ";
    const std::string city = " '" + kCity + "' >/dev/null";
    const std::string tools = "cd '" + folder.string() + "' && espeak-ng -v en-us -f report.txt";
    if (!Shell(report + "--conditions '" + kCity + "' > report.txt").Ok ||
        !Shell(tools + " -w tool.wav").Ok) {
        std::fprintf(stderr, "olvenar-report or espeak-ng did not run\n");
        return 1;
    }

    std::printf("The conditions of Hagatna (%.1f s of speech), median of %d runs:\n",
                WavSeconds(folder / "tool.wav"), runs);
    const auto ms =
        MedianWallMs(runs, {tools + " -w tool.wav", report + "--conditions --wav own.wav" + city,
                            tools + " --stdout | lame --quiet -b 32 -m m - tool.mp3",
                            report + "--conditions --mp3 own.mp3" + city,
                            report + "--conditions" + city, report + "--list-voices >/dev/null"});
    Row("espeak-ng -w", ms[0], 0, "");
    Row("olvenar-report --conditions --wav", ms[1], ms[0], "<= 1.5x");
    Row("espeak-ng --stdout | lame --quiet -b 32 -m m", ms[2], 0, "");
    Row("olvenar-report --conditions --mp3", ms[3], ms[2], "<= 1.0x");
    Row("olvenar-report --conditions (printed only)", ms[4], 0, "");
    Row("olvenar-report --list-voices", ms[5], 0, "");
    std::printf("  %-52s %s\n", "", ms[5] < 50 ? "(under 50 ms)" : "(OVER 50 ms)");

    const Run spoken = Shell(report + "--conditions --speak" + city);
    if (spoken.Ok) {
        const double audioMs = WavSeconds(folder / "own.wav") * 1000;
        std::printf("  %-52s %8.1f ms CPU for %.1f s of speech: %.1f%% (goal < 10%%)\n",
                    "olvenar-report --conditions --speak", spoken.CpuMs, audioMs / 1000,
                    100 * spoken.CpuMs / audioMs);
    } else {
        std::printf("  --speak not measured: no sound server\n");
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    return 0;
}
