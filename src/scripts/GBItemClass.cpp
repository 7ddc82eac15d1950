#include "scripts/GBItemClass.h"

#include "util/Strings.h"

#include <algorithm>

namespace olv {
namespace {

constexpr auto npos = std::string_view::npos;

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Position of a lower-case needle in text, ignoring the case of text; npos when absent.
size_t FindNoCase(std::string_view text, std::string_view needle, size_t from = 0) {
    if (needle.empty() || from >= text.size())
        return npos;
    const auto it =
        std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), needle.begin(),
                    needle.end(), [](char a, char b) { return Lower(a) == b; });
    return it == text.end() ? npos : static_cast<size_t>(it - text.begin());
}

size_t RFindNoCase(std::string_view text, std::string_view needle) {
    const auto it = std::find_end(text.begin(), text.end(), needle.begin(), needle.end(),
                                  [](char a, char b) { return Lower(a) == b; });
    return it == text.end() ? npos : static_cast<size_t>(it - text.begin());
}

// s begins with a key's opening "<". Counts "<key" and "</key" to find the matching closing
// tag and returns the index of its ">" (or the end of s when the key is never closed).
size_t MatchingKeyEnd(std::string_view s) {
    int depth = 0;
    size_t at = 0;
    for (;;) {
        const size_t open = FindNoCase(s, "<key", at);
        const size_t close = FindNoCase(s, "</key", at);
        if (open == npos && close == npos)
            return s.size() - 1;
        if (open < close) {
            ++depth;
            at = open + 2;
        } else {
            --depth;
            at = close + 2;
        }
        if (depth <= 0 || at >= s.size())
            break;
    }
    const size_t gt = s.find('>', at);
    return gt == npos ? s.size() - 1 : gt;
}

std::string JoinPath(const std::string& parentPath, const std::string& name) {
    return parentPath == "/" ? parentPath + name : parentPath + "/" + name;
}

} // namespace

void GBItemClass::Parse(std::string_view text, const std::string& parentPath, int level,
                        GBItemClass* parent, const std::string& keyword, const std::string& name) {
    Text = std::string(text);
    Name = name;
    Keyword = keyword;
    Path = JoinPath(parentPath, name);
    Parent = parent;
    Level = level;

    std::string_view s = text;
    for (;;) {
        const size_t lt = s.find('<');
        if (lt == npos)
            break;
        const size_t gt = s.find('>', lt + 1);
        if (gt == npos)
            break;
        s.remove_prefix(lt); // stray text before an element carries nothing
        const size_t tagEnd = gt - lt;
        const std::string tag(s.substr(1, tagEnd - 1));
        size_t end; // index in s of the last character of the element
        if (StartsWith(LowerCase(tag), "key")) {
            const int64_t eq = olv::Find("=", tag);
            const std::string childName = Substring(tag, eq + 1, kMax);
            const std::string childKeyword = Substring(tag, 5, eq - 5);
            end = MatchingKeyEnd(s);
            std::string_view inner = s.substr(1, end);
            if (const size_t close = RFindNoCase(inner, "</key"); close != npos)
                inner = inner.substr(0, close);
            auto child = std::make_unique<GBItemClass>();
            child->Parse(inner, Path, Level + 1, this, childKeyword, childName);
            Children.push_back(std::move(child));
        } else {
            const std::string closing = "</" + tag + ">";
            const size_t close = s.find(closing, tagEnd + 1);
            if (close == npos) {
                NV.Put(tag, "");
                end = tagEnd;
            } else {
                NV.Put(tag, s.substr(tagEnd + 1, close - tagEnd - 1));
                end = close + closing.size() - 1;
            }
        }
        s.remove_prefix(std::min(end + 1, s.size()));
    }
}

GBItemClass* GBItemClass::Find(std::string_view path) {
    if (path == "/" || path == Path)
        return this;
    for (const auto& child : Children)
        if (GBItemClass* found = child->Find(path))
            return found;
    return nullptr;
}

GBItemClass* GBItemClass::FindChild(std::string_view name) const {
    for (const auto& child : Children)
        if (child->Name == name)
            return child.get();
    return nullptr;
}

void GBItemClass::AddChild(std::string_view name) {
    if (name.size() > 1 && name.front() == '/')
        name.remove_prefix(1);
    if (FindChild(name))
        return;
    auto child = std::make_unique<GBItemClass>();
    child->Name = std::string(name);
    child->Parent = this;
    child->Level = Level + 1;
    child->Path = Path + "/" + child->Name;
    if (StartsWith(child->Path, "//"))
        child->Path.erase(0, 1);
    Children.push_back(std::move(child));
}

void GBItemClass::ListChildNames(std::vector<std::string>& list) const {
    for (const auto& child : Children)
        list.push_back(child->Name);
}

void GBItemClass::Clear() {
    NV.Clear();
    Children.clear();
    Parent = nullptr;
}

void GBItemClass::WriteTo(std::vector<std::string>& lines) const {
    const bool isRoot = Level == 0;
    const std::string tagIndent(static_cast<size_t>(2 * Level), ' ');
    const std::string valueIndent =
        isRoot ? std::string() : std::string(static_cast<size_t>(2 * (Level + 1)), ' ');
    if (!isRoot)
        lines.push_back(tagIndent + "<key " + Keyword + "=" + Name + ">");
    for (int i = 0; i < NV.Count(); ++i) {
        if (StartsWith(LowerCase(NV.Values()[static_cast<size_t>(i)]), "script|"))
            NV.WriteScriptEntry(valueIndent, lines, i);
        else
            lines.push_back(valueIndent + NV.EntryAsTag(i));
    }
    for (const auto& child : Children)
        child->WriteTo(lines);
    if (!isRoot)
        lines.push_back(tagIndent + "</key " + Keyword + ">");
}

} // namespace olv
