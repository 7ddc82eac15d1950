#include "platform/Autostart.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace olv {
namespace {

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

// Quoting of one Exec argument, then the string escape that desktop files apply before it:
// a literal '\' ends up as four backslashes, '"' '$' '`' behind two.
std::string QuoteExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '\\') {
            quoted += "\\\\\\\\";
        } else if (c == '"' || c == '`' || c == '$') {
            quoted += "\\\\";
            quoted += c;
        } else if (c == '%') {
            quoted += "%%"; // '%' starts a field code
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

} // namespace

std::string AutostartEntryPath() {
    return XdgConfigHome() + "/autostart/olvenar.desktop";
}

bool AutostartEntryExists() {
    return FileExists(AutostartEntryPath());
}

std::string RunningProgramPath() {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

std::string AutostartExecValue(const std::string& programPath) {
    return QuoteExecArgument(programPath) + " -auto";
}

std::string WriteAutostartEntry(const std::string& programPath) {
    if (programPath.empty() || HasControlCharacter(programPath))
        return "The start-at-log-in entry was not written: the program's path \"" + programPath +
               "\" cannot be used in it.";
    const std::string path = AutostartEntryPath();
    const std::string text = "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Olvenar\n"
                             "Comment=Talking weather: reads the weather of your cities aloud\n"
                             "Exec=" +
                             AutostartExecValue(programPath) +
                             "\n"
                             "Terminal=false\n"
                             "X-GNOME-Autostart-enabled=true\n";
    try {
        if (!MakeFolders(FolderOf(path)))
            return "The start-at-log-in entry was not written: the folder " + FolderOf(path) +
                   " cannot be created.";
        SaveFileAtomically(path, text, 0644);
    } catch (const std::exception& e) {
        return std::string("The start-at-log-in entry was not written (") + e.what() + ").";
    }
    return {};
}

std::string DeleteAutostartEntry() {
    const std::string path = AutostartEntryPath();
    if (std::remove(path.c_str()) != 0 && errno != ENOENT && errno != ENOTDIR)
        return "The start-at-log-in entry " + path + " could not be removed (" +
               std::strerror(errno) + ").";
    return {};
}

std::string SetAutostart(bool enabled) {
    return enabled ? WriteAutostartEntry(RunningProgramPath()) : DeleteAutostartEntry();
}

} // namespace olv
