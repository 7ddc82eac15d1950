#include "util/Log.h"

#include <cstdio>
#include <ctime>

namespace olv {
namespace {
std::string& LogPath() {
    static std::string path;
    return path;
}
} // namespace

void SetLogFile(const std::string& path) {
    LogPath() = path;
}

std::string LogFile() {
    return LogPath();
}

void Log(std::string_view message) {
    const std::string& path = LogPath();
    if (path.empty())
        return;
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(file, "%s - %.*s\n", stamp, static_cast<int>(message.size()), message.data());
    std::fclose(file);
}

void StartLog(const std::string& folder, const std::string& base) {
    const std::string stem = folder + base;
    std::remove((stem + "3.dbg").c_str());
    std::rename((stem + "2.dbg").c_str(), (stem + "3.dbg").c_str());
    std::rename((stem + "1.dbg").c_str(), (stem + "2.dbg").c_str());
    std::rename((stem + ".dbg").c_str(), (stem + "1.dbg").c_str());
    SetLogFile(stem + ".dbg");
}

} // namespace olv
