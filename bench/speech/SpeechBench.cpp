// Times the speech controller rendering a weather report of about 120 words to a WAV file and
// to an MP3 file at the default quality ("32 kbps  22.05 KHz  Mono", lame's quality 3), side by
// side with the command-line tools at the same settings:
//   espeak-ng -v en-us -f report.txt -w out.wav
//   espeak-ng -v en-us -f report.txt --stdout | lame --quiet -b 32 -m m - out.mp3
// A render is timed from the request to speak until the file is in place. The goal is to be
// faster than both. Then, in a fresh process, the peak memory while a ten-minute text is
// rendered to MP3 (goal: under 100 MB).
//
// Usage: bench_speech [runs]     (bench_speech --memory runs the memory part alone)

#include "BenchTimer.h"
#include "platform/Paths.h"
#include "platform/qt/EventWait.h"
#include "platform/qt/QtPlatform.h"
#include "settings/OlvenarRegistryClass.h"
#include "speech/TBaseTTS.h"
#include "speech/TBaseVoiceClass.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char* const kReport =
    "Good morning. Here are the current conditions for Boston, Massachusetts, at 6:54 AM "
    "Eastern Standard Time. The temperature is 35 degrees. Humidity is 64 percent. The dew "
    "point is 24 degrees. Winds are from the northwest at 12 miles per hour, with gusts up to "
    "22. The pressure is 30.12 inches and rising. Conditions are partly cloudy. Visibility is "
    "10 miles.\n\n"
    "Here is the forecast. Today: partly sunny, with a high near 41. Northwest wind around 10 "
    "miles per hour. Tonight: mostly clear, with a low around 27. Tomorrow: sunny, with a high "
    "near 45 and light winds. Tomorrow night: increasing clouds, with a low around 33. Thursday: "
    "a chance of rain after noon. Have a pleasant day.";

constexpr const char* kEspeakUsMode = "eSpeak NG English (America)";
constexpr double kMemoryGoalMb = 100.0;

// Runs a shell command line; true when it succeeded.
bool Shell(const std::string& command) {
    std::fflush(stdout); // what was printed comes before the child's output
    std::string line = command;
    char sh[] = "/bin/sh", dashC[] = "-c";
    char* argv[] = {sh, dashC, line.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0)
        return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// VmHWM of this process in megabytes.
double PeakMemoryMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0.0;
}

double Megabytes(const fs::path& file) {
    std::error_code ec;
    return static_cast<double>(fs::file_size(file, ec)) / (1024.0 * 1024.0);
}

// The controller as the window sets it up, rendering into folder.
class Renderer {
public:
    explicit Renderer(const fs::path& folder) {
        settings_.LoadAll();
        speech_.Initialize(settings_);
        speech_.OutputToFile = true;
        speech_.OutputDir = folder.string();
        speech_.FileBase = "report";
        const olv::TGUID mode = olv::TTTS::FindModeID(kEspeakUsMode);
        for (size_t i = 0; i < speech_.Voices.Count(); ++i)
            if (speech_.Voices[i].ModeID == mode)
                voice_ = &speech_.Voices[i];
    }

    // Renders text in format; returns when the file is in place (the end-of-speech events
    // follow 100 ms later by design and are not waited for).
    bool Render(const char* format, const std::string& text) {
        speech_.SetOutputFormat(format);
        const fs::path file = fs::path(speech_.OutputDir) / (speech_.FileBase + Extension());
        fs::remove(file);
        speech_.SpeakWithVoice(voice_, text);
        olv::EventWait::Until([&] { return !speech_.IsBusy() && !speech_.TTS.Active(); },
                              std::chrono::minutes(5));
        return fs::exists(file);
    }

    std::string Extension() const {
        return speech_.OutputFormat() == olv::TBaseTTS::kOutputFormatMp3 ? ".mp3" : ".wav";
    }

private:
    olv::OlvenarRegistryClass settings_;
    olv::TBaseTTS speech_;
    olv::TBaseVoiceClass* voice_ = nullptr;
};

void Row(const char* what, double ms, double reference) {
    std::printf("  %-58s %8.1f ms", what, ms);
    if (reference > 0)
        std::printf("   (%.2fx the tools' time)", ms / reference);
    std::printf("\n");
}

int CompareWithTheTools(const fs::path& folder, int runs) {
    const fs::path text = folder / "report.txt";
    std::ofstream(text) << kReport;
    const std::string tools = "cd '" + folder.string() + "' && espeak-ng -v en-us -f report.txt";
    if (!Shell(tools + " -w tool.wav") ||
        !Shell(tools + " --stdout | lame --quiet -b 32 -m m - tool.mp3")) {
        std::fprintf(stderr, "espeak-ng or lame did not run\n");
        return 1;
    }
    Renderer renderer(folder);
    if (!renderer.Render("Wav", kReport) || !renderer.Render("MP3", kReport)) {
        std::fprintf(stderr, "the controller made no file\n");
        return 1;
    }

    std::printf("Report of about 120 words, median of %d runs:\n", runs);
    const double toolWav = olv::bench::MedianMs(runs, [&] { Shell(tools + " -w tool.wav"); });
    const double ownWav = olv::bench::MedianMs(runs, [&] { renderer.Render("Wav", kReport); });
    const double toolMp3 = olv::bench::MedianMs(
        runs, [&] { Shell(tools + " --stdout | lame --quiet -b 32 -m m - tool.mp3"); });
    const double ownMp3 = olv::bench::MedianMs(runs, [&] { renderer.Render("MP3", kReport); });
    Row("espeak-ng -w (WAV)", toolWav, 0);
    Row("controller, WAV", ownWav, toolWav);
    Row("espeak-ng --stdout | lame -b 32 -m m (MP3)", toolMp3, 0);
    Row("controller, MP3 32 kbps  22.05 KHz  Mono", ownMp3, toolMp3);
    std::printf("  sizes: tool.mp3 %.3f MB, report.mp3 %.3f MB\n", Megabytes(folder / "tool.mp3"),
                Megabytes(folder / "report.mp3"));
    std::printf("  %s\n", ownWav < toolWav && ownMp3 < toolMp3 ? "faster than both tools"
                                                               : "NOT faster than both tools");
    return 0;
}

int MeasureMemory(const fs::path& folder) {
    std::string text;
    for (int i = 0; i < 13; ++i) // about 1600 words: ten minutes of speech
        text += std::string(kReport) + "\n\n";
    Renderer renderer(folder);
    const double before = PeakMemoryMb();
    const auto started = std::chrono::steady_clock::now();
    if (!renderer.Render("MP3", text)) {
        std::fprintf(stderr, "the controller made no file\n");
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double peak = PeakMemoryMb();
    const double mp3 = Megabytes(folder / "report.mp3");
    // 32 kbps is 4000 bytes a second.
    std::printf("Ten-minute text to MP3: %.0f s of audio rendered in %.1f s\n",
                mp3 * 1024 * 1024 / 4000, seconds);
    std::printf("  peak memory (VmHWM) %.1f MB, %.1f MB of it before rendering  %s\n", peak, before,
                peak < kMemoryGoalMb ? "(under 100 MB)" : "(OVER 100 MB)");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    olv::InstallQtPlatform();
    const fs::path folder =
        fs::temp_directory_path() / ("olvenar-speech-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    olv::SetProgramFolder(folder.string() + "/");
    setenv("OLVENAR_CONFIG_DIR", folder.c_str(), 1); // the user's settings stay untouched

    int status = 0;
    const bool memoryOnly = argc > 1 && std::string(argv[1]) == "--memory";
    if (memoryOnly) {
        status = MeasureMemory(folder);
    } else {
        status = CompareWithTheTools(folder, argc > 1 ? std::max(1, std::atoi(argv[1])) : 10);
        // A fresh process, so that the peak is this render's alone.
        std::error_code self;
        const fs::path program = fs::read_symlink("/proc/self/exe", self);
        if (status == 0 && !Shell("'" + program.string() + "' --memory"))
            status = 1;
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    return status;
}
