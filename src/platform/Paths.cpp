#include "platform/Paths.h"

#include "platform/FileLock.h"
#include "platform/Files.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace olv {
namespace {

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string& ProgramFolderSetting() {
    static std::string folder;
    return folder;
}

// The lock every running instance holds, shared, on a file in its program folder.
std::unique_ptr<FileLock>& InstanceLock() {
    static std::unique_ptr<FileLock> lock;
    return lock;
}

std::string& ProgramFileNameSetting() {
    static std::string name = "olvenar";
    return name;
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

std::string HomeFolder() {
    return EnvOr("HOME", "/tmp");
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string CurrentFolder() {
    std::error_code ec;
    const auto cwd = fs::current_path(ec);
    return ec ? std::string("./") : WithSlash(cwd.string());
}

// Resolves a path that may not exist yet: the longest existing prefix is made canonical and
// the rest is normalised lexically.
fs::path ResolveLoosely(const fs::path& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec)
        return {};
    return fs::weakly_canonical(absolute, ec).lexically_normal();
}

void CopyMissingFiles(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(from, ec)) {
        const fs::path target = to / fs::relative(entry.path(), from, ec);
        if (entry.is_directory(ec))
            fs::create_directories(target, ec);
        else if (entry.is_regular_file(ec) && !fs::exists(target, ec))
            fs::copy_file(entry.path(), target, ec);
    }
}

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsDownloadedPage(std::string_view name) {
    return EndsWith(name, ".html") && IsDigits(name.substr(0, name.size() - 5));
}

// What a run that was killed may leave in the program folder: the temporary file of a data
// file's save, and a downloaded page ("123.html") or its temporary file.
bool IsLeftoverName(std::string_view name) {
    std::string_view saved;
    if (!IsSaveTempName(name, saved))
        return IsDownloadedPage(name);
    return EndsWith(saved, ".chl") || EndsWith(saved, ".dat") || IsDownloadedPage(saved);
}

void RemoveLeftovers(const fs::path& folder) {
    std::error_code ec;
    const auto cutoff = fs::file_time_type::clock::now() - kLeftoverAge;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec) || !IsLeftoverName(entry.path().filename().string()))
            continue;
        if (entry.last_write_time(ec) < cutoff && !ec)
            fs::remove(entry.path(), ec);
    }
}

// Takes this instance's lock on the folder; the first instance to run there (no other holds
// the lock) clears what killed runs left behind.
void JoinRunningInstances(const std::string& folder) {
    const std::string path = folder + kInstanceLockName;
    auto& lock = InstanceLock();
    lock.reset();
    lock = std::make_unique<FileLock>(path, FileLock::Mode::Exclusive, std::chrono::seconds(0));
    if (lock->Held()) {
        RemoveLeftovers(folder);
        if (lock->Share())
            return;
    }
    // Another instance runs; it holds the lock exclusively only while it clears up.
    lock = std::make_unique<FileLock>(path, FileLock::Mode::Shared, std::chrono::seconds(5));
}

} // namespace

std::string ProgramFolder() {
    const auto& folder = ProgramFolderSetting();
    return folder.empty() ? CurrentFolder() : folder;
}

void SetProgramFolder(const std::string& folder) {
    ProgramFolderSetting() = folder.empty() ? std::string() : WithSlash(folder);
}

std::string ProgramFileName() {
    return ProgramFileNameSetting();
}

void SetProgramFileName(const std::string& name) {
    ProgramFileNameSetting() = fs::path(name).filename().string();
}

std::string DefaultProgramFolder() {
    if (const char* home = std::getenv("OLVENAR_HOME"); home && *home)
        return WithSlash(home);
    return WithSlash(EnvOr("XDG_DATA_HOME", HomeFolder() + "/.local/share") + "/olvenar");
}

std::string XdgConfigHome() {
    return EnvOr("XDG_CONFIG_HOME", HomeFolder() + "/.config");
}

std::string ConfigFolder() {
    if (const char* dir = std::getenv("OLVENAR_CONFIG_DIR"); dir && *dir)
        return WithSlash(dir);
    return WithSlash(XdgConfigHome() + "/HalvernWorks");
}

std::string ShippedDataFolder(const std::string& executablePath) {
    if (const char* dir = std::getenv("OLVENAR_SHIPPED_DATA"); dir && *dir)
        return WithSlash(dir);
    std::error_code ec;
    const fs::path exe = fs::canonical("/proc/self/exe", ec);
    const fs::path base = ec ? fs::path(executablePath) : exe;
    const fs::path installed = base.parent_path() / ".." / "share" / "olvenar";
    if (fs::is_directory(installed, ec))
        return WithSlash(fs::canonical(installed, ec).string());
    return WithSlash(OLVENAR_SOURCE_DATA_DIR);
}

bool MakeFolders(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

std::string PrepareProgramFolder(const std::string& folder, const std::string& shippedFolder) {
    if (!MakeFolders(folder))
        return "Unable to create the program folder " + folder;
    std::error_code ec;
    if (fs::is_directory(shippedFolder, ec))
        CopyMissingFiles(shippedFolder, folder);
    if (::chdir(folder.c_str()) != 0)
        return "Unable to open the program folder " + folder;
    SetProgramFolder(CurrentFolder());
    JoinRunningInstances(ProgramFolder());
    return {};
}

bool IsInsideFolder(const std::string& path, const std::string& folder) {
    if (path.empty())
        return false;
    const fs::path file = ResolveLoosely(path);
    const fs::path base = ResolveLoosely(folder);
    if (file.empty() || base.empty())
        return false;
    const fs::path folderPath = base.filename().empty() ? base.parent_path() : base;
    auto fileIt = file.begin();
    for (const auto& part : folderPath) {
        if (fileIt == file.end() || *fileIt != part)
            return false;
        ++fileIt;
    }
    return fileIt != file.end() && !fileIt->empty();
}

} // namespace olv
