#include "speech/support/SoundServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace olv::test {
namespace {

// Held until the process ends; the system releases it even when the test dies.
void ClaimForThisProcess() {
    static const bool claimed = [] {
        const char* folder = std::getenv("XDG_RUNTIME_DIR");
        std::string path =
            std::string(folder && *folder ? folder : "/tmp") + "/olvenar-sound-tests.lock";
        int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        return fd >= 0 && flock(fd, LOCK_EX) == 0;
    }();
    (void)claimed;
}

bool Required() {
    const char* value = std::getenv("OLVENAR_REQUIRE_SOUND_SERVER");
    return value != nullptr && *value != '\0' && std::string(value) != "0";
}

} // namespace

bool SoundServer::Available() {
    ClaimForThisProcess();
    return std::system("sinks=$(pactl list short sinks 2>/dev/null); case $sinks in "
                       "*olvtest*second*|*second*olvtest*) exit 0;; esac; exit 1") == 0;
}

bool SoundServer::Usable() {
    if (Available())
        return true;
    // A fatal failure, so that a fixture's SetUp that then skips keeps the test body from
    // running too.
    if (Required())
        [] { FAIL() << "the test sound server with sinks olvtest and second is not running"; }();
    return false;
}

MonitorRecorder::MonitorRecorder(const std::string& sink, std::string path)
    : path_(std::move(path)) {
    std::string device = "--device=" + sink + ".monitor";
    std::vector<std::string> args = {
        "parec",        "--latency-msec=20", device, "--format=s16le", "--rate=22050",
        "--channels=1", "--file-format=wav", path_};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        // Ends with the test even when the test dies, and holds none of its pipes.
        prctl(PR_SET_PDEATHSIG, SIGINT);
        int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        execvp("parec", argv.data());
        _exit(127);
    }
}

MonitorRecorder::~MonitorRecorder() {
    Stop();
}

void MonitorRecorder::Stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGINT);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

} // namespace olv::test
