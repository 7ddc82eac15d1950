#include "scripts/GBItemClass.h"

#include "scripts/DataFileText.h"
#include "util/Strings.h"

#include <algorithm>

namespace olv {
namespace {

constexpr auto npos = std::string_view::npos;

std::string JoinPath(const std::string& parentPath, const std::string& name) {
    return parentPath == "/" ? parentPath + name : parentPath + "/" + name;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

// The lines of the file the joined text was made of, to tell the one-line layout of a value
// from the block layout of a script.
class JoinedLines {
public:
    JoinedLines(std::string_view text, const std::vector<size_t>& lineEnds)
        : size_(text.size()), ends_(lineEnds) {}

    // Start and end (exclusive) of the line holding text position at.
    size_t Begin(size_t at) const {
        const auto it = std::upper_bound(ends_.begin(), ends_.end(), at);
        return it == ends_.begin() ? 0 : std::min(*(it - 1), size_);
    }
    size_t End(size_t at) const {
        const auto it = std::upper_bound(ends_.begin(), ends_.end(), at);
        return it == ends_.end() ? size_ : std::min(*it, size_);
    }

private:
    size_t size_;
    const std::vector<size_t>& ends_;
};

// One value element: its text as stored and the position after its closing tag.
struct ValueElement {
    std::string Value;
    size_t Next;
};

// The value element whose opening tag spans text[lt..gt]. Its value ends at the first exact
// closing tag. Two layouts are told apart: an opening tag that ends its line starts a block (a
// script, one line per script line), taken as written; a value written on one line is
// unescaped, and when it fills its line it runs to the closing tag at the line's end, so that
// markup in a value written before escaping existed can only affect that value.
ValueElement ReadValue(std::string_view text, const JoinedLines& lines, size_t lt, size_t gt,
                       std::string_view tag) {
    const std::string closing = "</" + std::string(tag) + ">";
    size_t close = text.find(closing, gt + 1);
    if (close == npos)
        return {std::string(), gt + 1};
    const size_t lineEnd = lines.End(lt);
    if (gt + 1 == lineEnd)
        return {std::string(text.substr(gt + 1, close - gt - 1)), close + closing.size()};
    const bool fillsLine = lines.Begin(lt) == lt && close + closing.size() < lineEnd &&
                           text.substr(lineEnd - closing.size(), closing.size()) == closing;
    if (fillsLine)
        close = lineEnd - closing.size();
    return {UnescapeFromDataFile(text.substr(gt + 1, close - gt - 1)), close + closing.size()};
}

// "<key KEYWORD=NAME>": the keyword runs from the fifth character of the tag to the first
// "=", the name is everything after it.
void NameKey(GBItemClass& child, const std::string& tag) {
    const int64_t eq = olv::Find("=", tag);
    child.Name = UnescapeFromDataFile(Substring(tag, eq + 1, kMax));
    child.Keyword = Substring(tag, 5, eq - 5);
}

// A script is written one script line a line, as people edit it. Only a script that reads back
// unchanged that way is: one whose lines have no blanks at their ends to be trimmed, no line
// breaks, and no closing tag of its own.
bool IsScriptBlock(std::string_view name, std::string_view value) {
    if (!StartsWithNoCase(value, "script|") || value.find("</" + std::string(name) + ">") != npos)
        return false;
    for (size_t from = 0; from < value.size();) {
        const size_t bar = value.find('|', from);
        const size_t end = bar == npos ? value.size() : bar + 1;
        const std::string_view line = value.substr(from, end - from);
        if (TrimView(line).size() != line.size() || line.find_first_of("\r\n") != npos)
            return false;
        from = end;
    }
    return true;
}

} // namespace

bool GBItemClass::Parse(std::string_view text, const std::string& parentPath, int level,
                        GBItemClass* parent, const std::string& keyword, const std::string& name,
                        const std::vector<size_t>& lineEnds) {
    Text = std::string(text);
    Name = name;
    Keyword = keyword;
    Path = JoinPath(parentPath, name);
    Parent = parent;
    Level = level;

    // One pass with a stack of the keys still open; value elements are taken whole, so
    // markup inside a value never opens or closes a key.
    struct OpenKey {
        GBItemClass* Node;
        size_t TextStart;
    };
    std::vector<OpenKey> open{{this, 0}};
    const JoinedLines lines(text, lineEnds);
    int skippedDepth = 0; // keys open below the deepest level kept
    bool skippedAny = false;
    size_t at = 0;
    for (;;) {
        const size_t lt = text.find('<', at);
        const size_t gt = lt == npos ? npos : text.find('>', lt + 1);
        if (gt == npos)
            break;
        const std::string tag(text.substr(lt + 1, gt - lt - 1));
        at = gt + 1;
        if (StartsWithNoCase(tag, "key")) {
            if (skippedDepth > 0 || open.back().Node->Level - Level >= kMaxKeyDepth) {
                ++skippedDepth;
                skippedAny = true;
                continue;
            }
            GBItemClass& child = open.back().Node->NewChild();
            NameKey(child, tag);
            child.Path = JoinPath(child.Parent->Path, child.Name);
            open.push_back({&child, lt + 1});
        } else if (StartsWithNoCase(tag, "/key")) {
            if (skippedDepth > 0) {
                --skippedDepth;
            } else if (open.size() > 1) {
                open.back().Node->Text =
                    std::string(text.substr(open.back().TextStart, lt - open.back().TextStart));
                open.pop_back();
            }
        } else if (!StartsWith(tag, "/")) { // a stray closing tag carries nothing
            ValueElement element = ReadValue(text, lines, lt, gt, tag);
            at = element.Next;
            if (skippedDepth == 0)
                open.back().Node->NV.Put(tag, element.Value);
        }
    }
    // Keys never closed end with the text.
    for (size_t i = 1; i < open.size(); ++i)
        open[i].Node->Text = std::string(text.substr(open[i].TextStart));
    return !skippedAny;
}

GBItemClass& GBItemClass::NewChild() {
    auto child = std::make_unique<GBItemClass>();
    child->Parent = this;
    child->Level = Level + 1;
    Children.push_back(std::move(child));
    return *Children.back();
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
    GBItemClass& child = NewChild();
    child.Name = std::string(name);
    child.Path = Path + "/" + child.Name;
    if (StartsWith(child.Path, "//"))
        child.Path.erase(0, 1);
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
        lines.push_back(tagIndent + "<key " + Keyword + "=" + EscapeForDataFile(Name) + ">");
    for (int i = 0; i < NV.Count(); ++i) {
        const auto at = static_cast<size_t>(i);
        if (IsScriptBlock(NV.Names()[at], NV.Values()[at]))
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
