#include "speech/DocumentsFolder.h"

#include "platform/Files.h"
#include "platform/Paths.h"
#include "util/Strings.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <system_error>

namespace olv {
namespace {

constexpr std::string_view kDocumentsName = "XDG_DOCUMENTS_DIR";

std::string EnvText(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string Unquoted(std::string_view value) {
    value = TrimView(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// "$HOME/x" and "$HOME" become paths under home; other values must be absolute already.
std::string ExpandHome(const std::string& value, const std::string& home) {
    if (value == "$HOME")
        return home;
    if (StartsWith(value, "$HOME/"))
        return home + value.substr(5);
    return StartsWith(value, "/") ? value : std::string();
}

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

} // namespace

std::string UserDirsEntry(std::string_view fileText, std::string_view name,
                          const std::string& home) {
    for (const std::string& line : SplitLines(fileText)) {
        const std::string_view entry = TrimView(line);
        if (entry.empty() || entry.front() == '#')
            continue;
        const size_t equals = entry.find('=');
        if (equals == std::string_view::npos || TrimView(entry.substr(0, equals)) != name)
            continue;
        return ExpandHome(Unquoted(entry.substr(equals + 1)), home);
    }
    return {};
}

std::string DocumentsFolder() {
    const std::string home = WithoutTrailingSlash(EnvText("HOME"));
    std::string folder = ExpandHome(EnvText(std::string(kDocumentsName).c_str()), home);
    if (!IsFolder(folder)) {
        std::string text;
        try {
            if (ReadWholeFile(XdgConfigHome() + "/user-dirs.dirs", text))
                folder = UserDirsEntry(text, kDocumentsName, home);
        } catch (const std::exception&) {
            folder.clear(); // an unreadable file names no folder
        }
    }
    return IsFolder(folder) ? WithoutTrailingSlash(folder) : std::string();
}

std::string DefaultOutputDir() {
    const std::string documents = DocumentsFolder();
    if (!documents.empty())
        return documents;
    const std::string audioFiles = ProgramFolder() + "AudioFiles";
    return MakeFolders(audioFiles) ? audioFiles : std::string(" ");
}

} // namespace olv
