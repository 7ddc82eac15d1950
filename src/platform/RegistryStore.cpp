#include "platform/RegistryStore.h"

#include "platform/FileLock.h"
#include "platform/Files.h"
#include "platform/MessageHook.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace olv {
namespace {

constexpr std::string_view kHeader =
    "# Olvenar settings: the stand-in for the current user's registry.\n"
    "# Each [key] is followed by its values, one a line: sz:Name=text or dword:Name=number.\n"
    "# %XX (two hex digits) stands for one byte.\n";

// Another program saves within milliseconds; one that holds the lock longer is stuck.
constexpr std::chrono::seconds kLockPatience(5);

std::string Timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// "registry.damaged-20240101-120000", with "-2", "-3"... when that name is taken.
std::string AsideName(const std::string& path) {
    const std::string base = path + ".damaged-" + Timestamp();
    std::string name = base;
    struct stat st {};
    for (int n = 2; ::lstat(name.c_str(), &st) == 0; ++n)
        name = base + "-" + std::to_string(n);
    return name;
}

// Owner write permission is checked by the mode too, since root may write anything.
bool IsReadOnly(const std::string& path, const struct stat& st) {
    return (st.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// "line 3: ...; line 7: ..." with at most three lines named.
std::string Summary(const std::vector<std::string>& problems) {
    std::string text;
    for (size_t i = 0; i < problems.size() && i < 3; ++i)
        text += (i ? "; " : "") + problems[i];
    if (problems.size() > 3)
        text += "; and " + std::to_string(problems.size() - 3) + " more";
    return text;
}

// Temporary files of saves that were cut short. Only called under the lock, when no save of
// another program is under way.
void RemoveUnfinishedSaves(const std::string& target) {
    namespace fs = std::filesystem;
    const std::string folder = FolderOf(target);
    const std::string name = target.substr(folder.size());
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder.empty() ? "." : folder, ec)) {
        const std::string entryName = entry.path().filename().string();
        std::string_view base;
        if (IsSaveTempName(entryName, base) && base == name && entry.is_regular_file(ec))
            fs::remove(entry.path(), ec);
    }
}

} // namespace

RegistryStore::RegistryStore(std::string filePath) : filePath_(std::move(filePath)) {
    Load();
}

RegistryStore& RegistryStore::Shared() {
    static RegistryStore store(DefaultFilePath());
    return store;
}

std::string RegistryStore::DefaultFilePath() {
    return ConfigFolder() + "registry";
}

void RegistryStore::Open(const std::string& filePath) {
    filePath_ = filePath;
    Load();
}

void RegistryStore::Reload() {
    Load();
}

// ---- keys and values -------------------------------------------------------------------------

bool RegistryStore::KeyExists(std::string_view key) const {
    return current_.KeyExists(key);
}

void RegistryStore::CreateKey(std::string_view key) {
    if (current_.CreateKey(key))
        Changed();
}

bool RegistryStore::DeleteKey(std::string_view key) {
    if (!current_.DeleteKey(key))
        return false;
    Changed();
    return true;
}

std::vector<std::string> RegistryStore::ValueNames(std::string_view key) const {
    return current_.ValueNames(key);
}

const RegistryStore::Value* RegistryStore::FindValue(std::string_view key,
                                                     std::string_view name) const {
    return current_.FindValue(key, name);
}

bool RegistryStore::ReadString(std::string_view key, std::string_view name,
                               std::string& text) const {
    const Value* v = FindValue(key, name);
    if (!v || v->Type != ValueType::String)
        return false;
    text = v->Data;
    return true;
}

bool RegistryStore::ReadInteger(std::string_view key, std::string_view name,
                                int32_t& number) const {
    const Value* v = FindValue(key, name);
    if (!v || v->Type != ValueType::Integer)
        return false;
    number = std::stoi(v->Data); // checked when read or written
    return true;
}

void RegistryStore::WriteString(std::string_view key, std::string_view name,
                                std::string_view text) {
    if (current_.SetValue(key, name, Value{{}, ValueType::String, std::string(text), "sz"}))
        Changed();
}

void RegistryStore::WriteInteger(std::string_view key, std::string_view name, int32_t number) {
    if (current_.SetValue(key, name,
                          Value{{}, ValueType::Integer, std::to_string(number), "dword"}))
        Changed();
}

void RegistryStore::WriteStringWhereEmpty(std::string_view key, std::string_view name,
                                          std::string_view text) {
    if (current_.SetValue(key, name, Value{{}, ValueType::String, std::string(text), "sz", true}))
        Changed();
}

bool RegistryStore::DeleteValue(std::string_view key, std::string_view name) {
    if (!current_.DeleteValue(key, name))
        return false;
    Changed();
    return true;
}

std::string RegistryStore::ToText() const {
    return current_.ToText(kHeader);
}

// ---- saving ----------------------------------------------------------------------------------

RegistryStore::DeferSaves::DeferSaves(RegistryStore& store) : store_(store) {
    ++store_.deferDepth_;
}

RegistryStore::DeferSaves::~DeferSaves() {
    if (--store_.deferDepth_ == 0 && store_.dirty_)
        store_.Save();
}

void RegistryStore::Changed() {
    dirty_ = true;
    if (deferDepth_ == 0)
        Save();
}

bool RegistryStore::Save() {
    std::string problem;
    try {
        problem = MergeAndWrite();
    } catch (const std::exception& e) {
        problem = e.what();
    }
    if (problem.empty()) {
        dirty_ = false;
        failureReported_ = false;
        return true;
    }
    if (!failureReported_) {
        failureReported_ = true;
        ShowMessage("The settings could not be saved to " + filePath_ + " (" + problem +
                    "). Changes stay in effect until the program ends.");
    }
    return false;
}

std::string RegistryStore::MergeAndWrite() {
    const std::string target = LinkTarget(filePath_);
    const std::string folder = FolderOf(target);
    if (!folder.empty() && !MakeFolders(folder))
        return "Unable to create the folder " + folder;
    const FileLock lock(target + ".lock", FileLock::Mode::Exclusive, kLockPatience);
    if (!lock.Held())
        return lock.Error();

    RegistryTree merged;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        std::string text;
        if (!S_ISREG(st.st_mode) || !ReadWholeFile(target, text))
            return "the file there cannot be read";
        const std::vector<std::string> problems = merged.Parse(text);
        if (!problems.empty()) {
            if (std::string kept = KeepDamagedCopy(target, text, problems); !kept.empty())
                return kept;
        }
        if (IsReadOnly(target, st))
            return "the file is read-only";
    } else if (errno != ENOENT) {
        return std::strerror(errno);
    }
    RemoveUnfinishedSaves(target);
    merged.ApplyChanges(saved_, current_);
    ::chmod(target.c_str(), 0600); // a file made by hand may be readable by others
    SaveFileAtomically(target, merged.ToText(kHeader), 0600);
    current_ = merged;
    saved_ = std::move(merged);
    return {};
}

// ---- loading ---------------------------------------------------------------------------------

void RegistryStore::Load() {
    current_ = RegistryTree();
    saved_ = RegistryTree();
    keptText_.clear();
    dirty_ = false;
    failureReported_ = false;

    const std::string target = LinkTarget(filePath_);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            SetAside(target, std::strerror(errno));
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        SetAside(target, "it is not a file");
        return;
    }
    std::string text;
    std::string problem;
    try {
        if (!ReadWholeFile(target, text))
            problem = "it cannot be opened";
    } catch (const std::exception& e) {
        problem = e.what();
    }
    if (!problem.empty()) {
        SetAside(target, problem);
        return;
    }
    const std::vector<std::string> problems = current_.Parse(text);
    saved_ = current_;
    if (problems.empty())
        return;
    // Keeps the file as it was and writes it without the lines it cannot read, so that the
    // user hears of them once, not at every start.
    if (!KeepDamagedCopy(target, text, problems).empty())
        return;
    Save();
}

std::string RegistryStore::KeepDamagedCopy(const std::string& target, const std::string& text,
                                           const std::vector<std::string>& problems) {
    if (text == keptText_)
        return {};
    const std::string aside = AsideName(target);
    const std::string what = "The settings file " + filePath_ + " has lines that cannot be read (" +
                             Summary(problems) + ")";
    try {
        SaveFileAtomically(aside, text, 0600);
    } catch (const std::exception& e) {
        ShowMessage(what + ". They could not be kept aside (" + e.what() +
                    "), so the file is left as it is and the other settings are in use.");
        return "its unreadable lines could not be kept aside";
    }
    keptText_ = text;
    ShowMessage(what + ". They are left out, and the file as it was is kept as " + aside + ".");
    return {};
}

void RegistryStore::SetAside(const std::string& target, const std::string& reason) {
    const std::string aside = AsideName(target);
    const std::string what =
        "The settings file " + filePath_ + " could not be read (" + reason + ")";
    if (::rename(target.c_str(), aside.c_str()) == 0) {
        ShowMessage(what + ". It has been kept as " + aside +
                    " and the program starts with default settings.");
        return;
    }
    ShowMessage(what + " and could not be moved aside (" + std::strerror(errno) +
                "). The program starts with default settings and leaves that file as it is.");
}

} // namespace olv
