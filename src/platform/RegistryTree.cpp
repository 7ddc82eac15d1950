#include "platform/RegistryTree.h"

#include "platform/Files.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_set>
#include <utility>

namespace olv {
namespace {

constexpr char kSeparator = '\\';
constexpr std::string_view kStringMarker = "sz";
constexpr std::string_view kIntegerMarker = "dword";

// Plain ASCII folding: Latin-1 letters above 127 compare as they are, as everywhere else in the
// program. (The text helpers of util/ sit above this layer.)
std::string Folded(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return folded;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && Folded(a) == Folded(b);
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

std::string_view TrimEndBlanks(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

bool SameContents(const RegistryTree::Value& a, const RegistryTree::Value& b) {
    return a.Type == b.Type && a.Data == b.Data && a.TypeMarker == b.TypeMarker;
}

bool IsGap(const RegistryTree::Value* value) {
    return !value || value->Data.empty();
}

} // namespace

// ---- keys ------------------------------------------------------------------------------------

const RegistryTree::Key* RegistryTree::FindKey(std::string_view key) const {
    const auto it = byPath_.find(Folded(NormalKeyPath(key)));
    return it == byPath_.end() ? nullptr : &keys_[it->second];
}

RegistryTree::Key* RegistryTree::FindKey(std::string_view key) {
    return const_cast<Key*>(std::as_const(*this).FindKey(key));
}

RegistryTree::Key& RegistryTree::MakeKey(std::string_view key) {
    const std::string path = NormalKeyPath(key);
    size_t index = 0;
    size_t end = 0;
    do {
        end = path.find(kSeparator, end + 1);
        const std::string prefix = path.substr(0, end);
        const auto [it, created] = byPath_.try_emplace(Folded(prefix), keys_.size());
        if (created)
            keys_.push_back(Key{prefix, nextGeneration_++, {}, {}});
        index = it->second;
    } while (end != std::string::npos);
    return keys_[index];
}

void RegistryTree::Reindex() {
    byPath_.clear();
    for (size_t i = 0; i < keys_.size(); ++i)
        byPath_.emplace(Folded(keys_[i].Path), i);
}

bool RegistryTree::CreateKey(std::string_view key) {
    const size_t before = keys_.size();
    MakeKey(key);
    return keys_.size() != before;
}

bool RegistryTree::DeleteKey(std::string_view key) {
    const std::string path = NormalKeyPath(key);
    if (path.empty() || !FindKey(path))
        return false;
    keys_.erase(std::remove_if(
                    keys_.begin(), keys_.end(),
                    [&](const Key& k) { return SameName(k.Path, path) || IsBelow(k.Path, path); }),
                keys_.end());
    Reindex();
    return true;
}

std::vector<std::string> RegistryTree::ValueNames(std::string_view key) const {
    std::vector<std::string> names;
    if (const Key* k = FindKey(key))
        for (const Value& v : k->Values)
            names.push_back(v.Name);
    return names;
}

// ---- values ----------------------------------------------------------------------------------

const RegistryTree::Value* RegistryTree::FindIn(const Key& key, std::string_view name) {
    const auto it = key.ByName.find(Folded(name));
    return it == key.ByName.end() ? nullptr : &key.Values[it->second];
}

const RegistryTree::Value* RegistryTree::FindValue(std::string_view key,
                                                   std::string_view name) const {
    const Key* k = FindKey(key);
    return k ? FindIn(*k, name) : nullptr;
}

void RegistryTree::SetIn(Key& key, Value value) {
    const auto [it, created] = key.ByName.try_emplace(Folded(value.Name), key.Values.size());
    if (created) {
        key.Values.push_back(std::move(value));
        return;
    }
    Value& existing = key.Values[it->second];
    value.Name = std::move(existing.Name); // the first spelling stays
    existing = std::move(value);
}

bool RegistryTree::SetValue(std::string_view key, std::string_view name, Value value) {
    value.Name = std::string(name);
    const Value* existing = FindValue(key, name);
    if ((existing && SameContents(*existing, value)) || (value.FillsGap && !IsGap(existing)))
        return false;
    SetIn(MakeKey(key), std::move(value));
    return true;
}

bool RegistryTree::DeleteValue(std::string_view key, std::string_view name) {
    Key* k = FindKey(key);
    if (!k)
        return false;
    const auto it = k->ByName.find(Folded(name));
    if (it == k->ByName.end())
        return false;
    const size_t at = it->second;
    k->ByName.erase(it);
    k->Values.erase(k->Values.begin() + static_cast<std::ptrdiff_t>(at));
    for (size_t i = at; i < k->Values.size(); ++i) // cheap when deleting from the end
        k->ByName[Folded(k->Values[i].Name)] = i;
    return true;
}

// ---- text ------------------------------------------------------------------------------------

std::string RegistryTree::ToText(std::string_view header) const {
    std::unordered_set<std::string> parents;
    for (const Key& k : keys_)
        for (size_t at = k.Path.find(kSeparator); at != std::string::npos;
             at = k.Path.find(kSeparator, at + 1))
            parents.insert(Folded(k.Path.substr(0, at)));
    std::string text(header);
    for (const Key& k : keys_) {
        if (k.Values.empty() && parents.count(Folded(k.Path)) != 0)
            continue; // implied by its subkeys
        text.append("\n[").append(Encode(k.Path, false)).append("]\n");
        for (const Value& v : k.Values) {
            text.append(v.TypeMarker).append(":").append(Encode(v.Name, true)).append("=");
            text.append(Encode(v.Data, false)).append("\n");
        }
    }
    return text;
}

std::vector<std::string> RegistryTree::Parse(std::string_view text) {
    keys_.clear();
    byPath_.clear();
    std::vector<std::string> problems;
    std::optional<size_t> current; // index of the key being read
    bool keyLineBad = false;
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        std::string problem;
        if (line.front() == '[') {
            const std::string_view section = TrimEndBlanks(line);
            std::string path;
            keyLineBad =
                section.back() != ']' || !Decode(section.substr(1, section.size() - 2), path);
            current.reset();
            if (keyLineBad)
                problem = "a key line is malformed";
            else
                current = static_cast<size_t>(&MakeKey(path) - keys_.data());
        } else if (!current) {
            problem = keyLineBad ? "its key line is malformed" : "a value comes before any key";
        } else {
            ParseValueLine(line, keys_[*current], problem);
        }
        if (!problem.empty())
            problems.push_back("line " + std::to_string(i + 1) + ": " + problem);
    }
    return problems;
}

bool RegistryTree::ParseValueLine(std::string_view line, Key& key, std::string& problem) {
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
    // A value named twice: the later line wins, in the place of the first.
    const auto [it, created] = key.ByName.try_emplace(Folded(value.Name), key.Values.size());
    if (created)
        key.Values.push_back(std::move(value));
    else
        key.Values[it->second] = std::move(value);
    return true;
}

// ---- merging ---------------------------------------------------------------------------------

void RegistryTree::ApplyChanges(const RegistryTree& before, const RegistryTree& after) {
    for (const Key& old : before.keys_)
        if (!after.FindKey(old.Path))
            DeleteKey(old.Path);
    for (const Key& now : after.keys_) {
        const Key* old = before.FindKey(now.Path);
        if (old && old->Generation != now.Generation) { // made anew: its values replace these
            Key& mine = MakeKey(now.Path);
            mine.Values.clear();
            mine.ByName.clear();
            old = nullptr;
        }
        if (old) {
            for (const Value& v : old->Values)
                if (!FindIn(now, v.Name))
                    DeleteValue(now.Path, v.Name);
        } else {
            MakeKey(now.Path);
        }
        for (const Value& v : now.Values) {
            const Value* was = old ? FindIn(*old, v.Name) : nullptr;
            if (was && SameContents(*was, v))
                continue;
            Key& mine = MakeKey(now.Path);
            if (!v.FillsGap || IsGap(FindIn(mine, v.Name)))
                SetIn(mine, v);
        }
    }
}

} // namespace olv
