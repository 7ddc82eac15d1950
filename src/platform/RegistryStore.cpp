#include "platform/RegistryStore.h"

#include "platform/Files.h"
#include "platform/MessageHook.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace olv {
namespace {

constexpr char kSeparator = '\\';
constexpr std::string_view kStringMarker = "sz";
constexpr std::string_view kIntegerMarker = "dword";
constexpr std::string_view kHeader =
    "# Olvenar settings: the stand-in for the current user's registry.\n"
    "# Each [key] is followed by its values, one a line: sz:Name=text or dword:Name=number.\n"
    "# %XX (two hex digits) stands for one byte.\n";

// Plain ASCII folding: Latin-1 letters above 127 compare as they are, as everywhere else in the
// program. (The text helpers of util/ sit above this layer.)
char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldCase(x) == FoldCase(y);
           });
}

// "\a\\b\" -> "a\b": separators at the ends and empty segments are dropped.
std::string NormalKeyPath(std::string_view path) {
    std::string normal;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(kSeparator, start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start) {
            if (!normal.empty())
                normal += kSeparator;
            normal.append(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return normal;
}

bool IsBelow(std::string_view path, std::string_view parent) {
    return path.size() > parent.size() && path[parent.size()] == kSeparator &&
           SameName(path.substr(0, parent.size()), parent);
}

bool NeedsEscape(unsigned char c, bool escapeEquals) {
    return c == '%' || c < 0x20 || c == 0x7f || (escapeEquals && c == '=');
}

std::string Encode(std::string_view text, bool escapeEquals) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool trailingBlank = c == ' ' && i + 1 == text.size();
        if (NeedsEscape(c, escapeEquals) || trailingBlank) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0f];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool Decode(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        const int high = HexDigit(text[i + 1]);
        const int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

bool ParseInt32(std::string_view text, int32_t& number) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, number);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool IsMarkerChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string TrimEndBlanks(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return std::string(line);
}

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

const RegistryStore::Key* RegistryStore::FindKey(std::string_view key) const {
    const std::string path = NormalKeyPath(key);
    for (const Key& k : keys_)
        if (SameName(k.Path, path))
            return &k;
    return nullptr;
}

RegistryStore::Key* RegistryStore::FindKey(std::string_view key) {
    return const_cast<Key*>(std::as_const(*this).FindKey(key));
}

RegistryStore::Key& RegistryStore::MakeKey(std::string_view key) {
    const std::string path = NormalKeyPath(key);
    size_t end = 0;
    do {
        end = path.find(kSeparator, end + 1);
        const std::string prefix = path.substr(0, end);
        if (!FindKey(prefix)) {
            keys_.push_back(Key{prefix, {}});
            dirty_ = true;
        }
    } while (end != std::string::npos);
    return *FindKey(path);
}

bool RegistryStore::HasSubkey(std::string_view path) const {
    return std::any_of(keys_.begin(), keys_.end(),
                       [&](const Key& k) { return IsBelow(k.Path, path); });
}

bool RegistryStore::KeyExists(std::string_view key) const {
    return FindKey(key) != nullptr;
}

void RegistryStore::CreateKey(std::string_view key) {
    const size_t before = keys_.size();
    MakeKey(key);
    if (keys_.size() != before)
        Changed();
}

bool RegistryStore::DeleteKey(std::string_view key) {
    const std::string path = NormalKeyPath(key);
    if (path.empty() || !FindKey(path))
        return false;
    keys_.erase(std::remove_if(
                    keys_.begin(), keys_.end(),
                    [&](const Key& k) { return SameName(k.Path, path) || IsBelow(k.Path, path); }),
                keys_.end());
    Changed();
    return true;
}

std::vector<std::string> RegistryStore::ValueNames(std::string_view key) const {
    std::vector<std::string> names;
    if (const Key* k = FindKey(key))
        for (const Value& v : k->Values)
            names.push_back(v.Name);
    return names;
}

const RegistryStore::Value* RegistryStore::FindValue(std::string_view key,
                                                     std::string_view name) const {
    const Key* k = FindKey(key);
    if (!k)
        return nullptr;
    for (const Value& v : k->Values)
        if (SameName(v.Name, name))
            return &v;
    return nullptr;
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
    return v && v->Type == ValueType::Integer && ParseInt32(v->Data, number);
}

RegistryStore::Value& RegistryStore::MakeValue(std::string_view key, std::string_view name) {
    Key& k = MakeKey(key);
    for (Value& v : k.Values)
        if (SameName(v.Name, name))
            return v;
    k.Values.push_back(Value{std::string(name), ValueType::Other, {}, {}});
    return k.Values.back();
}

void RegistryStore::Put(std::string_view key, std::string_view name, ValueType type,
                        std::string_view marker, std::string data) {
    Value& v = MakeValue(key, name);
    if (v.Type == type && v.Data == data)
        return;
    v.Type = type;
    v.TypeMarker = marker;
    v.Data = std::move(data);
    Changed();
}

void RegistryStore::WriteString(std::string_view key, std::string_view name,
                                std::string_view text) {
    Put(key, name, ValueType::String, kStringMarker, std::string(text));
}

void RegistryStore::WriteInteger(std::string_view key, std::string_view name, int32_t number) {
    Put(key, name, ValueType::Integer, kIntegerMarker, std::to_string(number));
}

bool RegistryStore::DeleteValue(std::string_view key, std::string_view name) {
    Key* k = FindKey(key);
    if (!k)
        return false;
    const auto it = std::find_if(k->Values.begin(), k->Values.end(),
                                 [&](const Value& v) { return SameName(v.Name, name); });
    if (it == k->Values.end())
        return false;
    k->Values.erase(it);
    Changed();
    return true;
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

std::string RegistryStore::ToText() const {
    std::string text(kHeader);
    for (const Key& k : keys_) {
        if (k.Values.empty() && HasSubkey(k.Path))
            continue; // implied by its subkeys
        text.append("\n[").append(Encode(k.Path, false)).append("]\n");
        for (const Value& v : k.Values) {
            text.append(v.TypeMarker).append(":").append(Encode(v.Name, true)).append("=");
            text.append(Encode(v.Data, false)).append("\n");
        }
    }
    return text;
}

bool RegistryStore::Save() {
    std::string problem;
    if (writingBlocked_) {
        problem = "the file that could not be read at start is left as it is";
    } else {
        try {
            const std::string folder = FolderOf(filePath_);
            if (!folder.empty() && !MakeFolders(folder))
                throw std::system_error(errno, std::generic_category(),
                                        "Unable to create the folder " + folder);
            // Tighten a file made by hand: it holds the proxy password.
            ::chmod(filePath_.c_str(), 0600);
            SaveFileAtomically(filePath_, ToText(), 0600);
            dirty_ = false;
            failureReported_ = false;
            return true;
        } catch (const std::exception& e) {
            problem = e.what();
        }
    }
    if (!failureReported_) {
        failureReported_ = true;
        ShowMessage("The settings could not be saved to " + filePath_ + " (" + problem +
                    "). Changes stay in effect until the program ends.");
    }
    return false;
}

// ---- loading ---------------------------------------------------------------------------------

void RegistryStore::Load() {
    keys_.clear();
    dirty_ = false;
    failureReported_ = false;
    writingBlocked_ = false;

    struct stat st {};
    if (::stat(filePath_.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            SetAside(std::strerror(errno));
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        SetAside("it is not a file");
        return;
    }
    std::string text;
    std::string problem;
    try {
        if (!ReadWholeFile(filePath_, text))
            problem = "it cannot be opened";
        else
            ParseText(text, problem);
    } catch (const std::exception& e) {
        problem = e.what();
    }
    if (!problem.empty()) {
        keys_.clear();
        SetAside(problem);
    }
}

bool RegistryStore::ParseText(std::string_view text, std::string& problem) {
    std::optional<size_t> current; // index of the key being read
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        std::string lineProblem;
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::string section = TrimEndBlanks(line);
            std::string path;
            if (section.back() != ']' || !Decode(section.substr(1, section.size() - 2), path))
                lineProblem = "a key line is malformed";
            else
                current = static_cast<size_t>(&MakeKey(path) - keys_.data());
        } else if (!current) {
            lineProblem = "a value comes before any key";
        } else {
            ParseValueLine(line, keys_[*current], lineProblem);
        }
        if (!lineProblem.empty()) {
            problem = "line " + std::to_string(i + 1) + ": " + lineProblem;
            return false;
        }
    }
    dirty_ = false;
    return true;
}

bool RegistryStore::ParseValueLine(std::string_view line, Key& key, std::string& problem) {
    const size_t colon = line.find(':');
    const size_t equals = line.find('=', colon == std::string_view::npos ? 0 : colon);
    const std::string_view marker = line.substr(0, colon);
    if (colon == std::string_view::npos || equals == std::string_view::npos || marker.empty() ||
        !std::all_of(marker.begin(), marker.end(), IsMarkerChar)) {
        problem = "a value line is malformed";
        return false;
    }
    Value value;
    value.TypeMarker = marker;
    if (!Decode(line.substr(colon + 1, equals - colon - 1), value.Name) ||
        !Decode(line.substr(equals + 1), value.Data)) {
        problem = "a % escape is malformed";
        return false;
    }
    int32_t number = 0;
    if (SameName(marker, kStringMarker)) {
        value.Type = ValueType::String;
        value.TypeMarker = kStringMarker;
    } else if (SameName(marker, kIntegerMarker)) {
        if (!ParseInt32(value.Data, number)) {
            problem = "a dword value is not a number";
            return false;
        }
        value.Type = ValueType::Integer;
        value.TypeMarker = kIntegerMarker;
        value.Data = std::to_string(number);
    } else {
        value.Type = ValueType::Other;
    }
    for (Value& existing : key.Values) {
        if (SameName(existing.Name, value.Name)) {
            existing = std::move(value);
            return true;
        }
    }
    key.Values.push_back(std::move(value));
    return true;
}

void RegistryStore::SetAside(const std::string& reason) {
    const std::string aside = AsideName(filePath_);
    const std::string what =
        "The settings file " + filePath_ + " could not be read (" + reason + ")";
    if (::rename(filePath_.c_str(), aside.c_str()) == 0) {
        ShowMessage(what + ". It has been kept as " + aside +
                    " and the program starts with default settings.");
        return;
    }
    writingBlocked_ = true;
    ShowMessage(what + " and could not be moved aside (" + std::strerror(errno) +
                "). The program starts with default settings and leaves that file as it is.");
}

} // namespace olv
