#include "speech/TPreProcessor.h"

#include "platform/Files.h"
#include "platform/MessageHook.h"
#include "platform/Paths.h"
#include "settings/TBaseRegistryClass.h"
#include "speech/FastStrings.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "util/UtilsClass.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace olv {
namespace {

// ---- character classes --------------------------------------------------------------------------

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}
bool IsPunctuation(char c) {
    return c == '!' || c == ',' || c == '-' || c == '.' || c == ';' || c == '?';
}
bool IsSeparator(char c) {
    return c == ' ' || IsLineBreak(c) || IsPunctuation(c);
}
bool IsSymbol(char c) {
    return std::string_view("#()*+-/<>[]^_`{|}~").find(c) != std::string_view::npos;
}
bool IsCapital(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsSmall(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetterOrDigit(char c) {
    return IsCapital(c) || IsSmall(c) || IsDigit(c);
}
// What may stand right before a link's scheme.
bool IsSchemeBoundary(char c) {
    return IsLineBreak(c) || c == ' ' || c == '\\' || IsPunctuation(c);
}
// What ends a link. A line break ends it too, so that a link at the end of a line never
// swallows the next line.
bool EndsLink(char c) {
    return c == ' ' || IsLineBreak(c) || (IsPunctuation(c) && c != '.');
}

// The character at a 0-based index; '\0' (a boundary to every test here) past the end.
char CharAt(std::string_view text, size_t index) {
    return index < text.size() ? text[index] : '\0';
}

// ---- steps that need no settings ----------------------------------------------------------------

std::string NeutraliseTags(std::string_view text) {
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '=' || c == '\\'; }, ' ');
    return out;
}

// A run of two or more separators followed by more text becomes its first punctuation
// character and a blank, or a blank alone.
std::string CollapseSeparatorRuns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (!IsSeparator(text[i])) {
            out += text[i++];
            continue;
        }
        size_t end = i;
        while (end < text.size() && IsSeparator(text[end]))
            ++end;
        const std::string_view run = text.substr(i, end - i);
        if (run.size() >= 2 && end < text.size()) {
            const auto punctuation = std::find_if(run.begin(), run.end(), IsPunctuation);
            if (punctuation != run.end())
                out += *punctuation;
            out += ' ';
        } else {
            out.append(run);
        }
        i = end;
    }
    return out;
}

// Whole-word occurrences of the row's key become its value. The character before an
// occurrence is taken from the text as already rewritten by this row.
std::string ApplyTranslation(const std::string& text, const TLookupRecord& row) {
    const auto search = row.CaseSensitive ? FastPos : FastPosNoCase;
    const auto keyLength = static_cast<int64_t>(row.Key.size());
    std::string out;
    int64_t from = 1;
    for (int64_t at = search(text, row.Key, from); at > 0; at = search(text, row.Key, from)) {
        out.append(text, static_cast<size_t>(from - 1), static_cast<size_t>(at - from));
        const char before = out.empty() ? '\0' : out.back();
        const char after = CharAt(text, static_cast<size_t>(at - 1 + keyLength));
        if (IsLetterOrDigit(before) || IsLetterOrDigit(after))
            out.append(text, static_cast<size_t>(at - 1), row.Key.size());
        else
            out += row.Value;
        from = at + keyLength;
    }
    out.append(text, static_cast<size_t>(from - 1), std::string::npos);
    return out;
}

// A link: from its first character up to the first blank, line break or punctuation other
// than "." after that; its path starts at the first "/" after the first character.
struct Link {
    size_t End = 0;                  // one past its last character
    size_t Path = std::string::npos; // the "/", if any
    size_t HostEnd() const { return Path == std::string::npos ? End : Path; }
};

Link ScanLink(std::string_view text, size_t start) {
    Link link;
    link.End = start + 1;
    while (link.End < text.size() && !EndsLink(text[link.End])) {
        if (link.Path == std::string::npos && text[link.End] == '/')
            link.Path = link.End;
        ++link.End;
    }
    return link;
}

// Appends the link starting at start with its first "www" (in any case) spelt out and its path
// read as "web link"; returns where the text after the link starts.
size_t AppendShortLink(std::string& out, std::string_view text, size_t start) {
    if (start >= text.size())
        return start;
    const Link link = ScanLink(text, start);
    std::string host(text.substr(start, link.HostEnd() - start));
    const int64_t www = FastPosNoCase(host, "www", 1);
    if (www > 0)
        host.replace(static_cast<size_t>(www - 1), 3, "w w w");
    out += host;
    if (link.Path != std::string::npos)
        out += " web link";
    return link.End;
}

// Where the scheme before a "://" starts in out (which ends just before the colon): after the
// nearest boundary among the last ten characters, or at the start of the text when it lies
// within them; npos when there is none.
size_t SchemeStart(std::string_view out) {
    for (size_t back = 1; back <= 10; ++back) {
        if (back > out.size())
            return 0;
        if (IsSchemeBoundary(out[out.size() - back]))
            return out.size() - back + 1;
    }
    return std::string::npos;
}

// Links with a scheme lose it ("http://") and are shortened. The search goes on after each
// link, so a second link close behind a long scheme keeps no scheme either.
std::string ShortenSchemeLinks(std::string_view text) {
    std::string out;
    size_t copied = 0;
    for (size_t colon = text.find("://"); colon != std::string::npos;
         colon = text.find("://", std::max(colon + 1, copied))) {
        out.append(text.substr(copied, colon - copied));
        copied = colon;
        const size_t scheme = SchemeStart(out);
        if (scheme == std::string::npos)
            continue;
        out.resize(scheme);
        copied = AppendShortLink(out, text, colon + 3);
    }
    out.append(text.substr(std::min(copied, text.size())));
    return out;
}

// Links starting with "www.": every "www." of the host is spelt out, the path becomes "web link".
std::string ShortenWebLinks(std::string_view text) {
    std::string out;
    size_t copied = 0;
    for (size_t h = text.find("www."); h != std::string::npos; h = text.find("www.", copied)) {
        out.append(text.substr(copied, h - copied));
        const Link link = ScanLink(text, h);
        out += UtilsClass::ReplaceAll(text.substr(h, link.HostEnd() - h), "www.", "w w w.");
        if (link.Path != std::string::npos)
            out += " web link";
        copied = link.End;
    }
    out.append(text.substr(copied));
    return out;
}

// One past a mail-style host starting after the "@" at at: small letters and digits, and dots;
// a dot not followed by one of those ends it (and belongs to it).
size_t AddressEnd(std::string_view text, size_t at) {
    size_t end = at + 1;
    for (; end < text.size(); ++end) {
        const char c = text[end];
        const bool dot = c == '.';
        if (!dot && !IsSmall(c) && !IsDigit(c))
            break;
        const char next = CharAt(text, end + 1);
        if (dot && !IsSmall(next) && !IsDigit(next))
            return end + 1;
    }
    return end;
}

// "news:" up to the host after the next "@" goes, however far that "@" is.
std::string RemoveNewsReferences(std::string_view text) {
    constexpr std::string_view kNews = "news:";
    std::string out;
    size_t copied = 0;
    for (size_t p = text.find(kNews); p != std::string::npos; p = text.find(kNews, copied)) {
        const size_t at = text.find('@', p + kNews.size());
        // Without an "@" after this one, there is none after any later one either.
        if (at == std::string::npos)
            break;
        out.append(text.substr(copied, p - copied));
        copied = AddressEnd(text, at);
    }
    out.append(text.substr(copied));
    return out;
}

void LowerCaseRange(std::string& text, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        if (IsCapital(text[i]))
            text[i] = static_cast<char>(text[i] - 'A' + 'a');
    }
}

// ---- the switches in the settings object --------------------------------------------------------

struct SwitchItem {
    std::string_view Name;
    bool TPreProcessor::*Field;
    bool Default;
};

constexpr SwitchItem kSwitches[] = {
    {"TTS_FilterSymbols", &TPreProcessor::FilterSymbols, false},
    {"EnableCheckStartOfLine", &TPreProcessor::CheckStartOfLine, true},
    {"EnableCheckContaining", &TPreProcessor::CheckContaining, true},
    {"EnableUserTranslations", &TPreProcessor::UseUserTranslations, true},
};

bool IsDeclared(const TBaseRegistryClass& settings, std::string_view name) {
    const auto& items = settings.Items();
    return std::any_of(items.begin(), items.end(),
                       [name](const auto& item) { return SameText(item->Name, name); });
}

} // namespace

TPreProcessor::TPreProcessor() = default;

// ---- settings -----------------------------------------------------------------------------------

void TPreProcessor::LoadSettings(TBaseRegistryClass& settings) {
    for (const SwitchItem& item : kSwitches) {
        if (!IsDeclared(settings, item.Name))
            settings.Declare(item.Name, RegScope::App, RegType::Bool, item.Default);
    }
    settings.LoadAll();
    for (const SwitchItem& item : kSwitches)
        this->*item.Field = settings.GetValue(item.Name).AsBool();
    LoadFilters();
}

bool TPreProcessor::SaveSettings(TBaseRegistryClass& settings) const {
    for (const SwitchItem& item : kSwitches)
        settings.SetValue(item.Name, this->*item.Field);
    return SaveFilters();
}

// ---- filter files -------------------------------------------------------------------------------

void TPreProcessor::LoadFilters() {
    StartOfLineMarkers.clear();
    ContainingMarkers.clear();
    if (!LoadMarkers())
        UseBuiltInMarkers();
    UserTranslations.LoadFromFile(ProgramFolder() + std::string(kUserTranslationsFile));
    if (UserTranslations.Empty())
        AddBuiltInTranslations();
}

bool TPreProcessor::LoadMarkers() {
    const std::string path = ProgramFolder() + std::string(kFilterOptionsFile);
    filterFileUnreadable_ = false;
    if (!FileExists(path))
        return false;
    std::vector<std::string> lines;
    if (!TLookupTable::ReadFileLines(path, lines)) {
        // Keep the user's file for a later session rather than overwrite what we never saw.
        filterFileUnreadable_ = true;
        return false;
    }
    for (std::string& rest : lines) {
        const std::string type = Trim(NextToken(rest, "~"));
        if (type == "1")
            StartOfLineMarkers.push_back(NextToken(rest, "~"));
        else if (type == "2")
            ContainingMarkers.push_back(NextToken(rest, "~"));
    }
    return true;
}

void TPreProcessor::UseBuiltInMarkers() {
    Log("Using the built-in speech filter markers");
    ContainingMarkers = {"wrote in message"};
    StartOfLineMarkers = {">", "|", "In article <"};
}

void TPreProcessor::AddBuiltInTranslations() {
    UserTranslations.Add("tia", "thanks in advance", false);
    UserTranslations.Add("pls", "please", false);
    UserTranslations.Add("thx", "thanks", false);
    UserTranslations.Add("imo", "in my opinion", false);
}

bool TPreProcessor::SaveFilters() const {
    const std::string path = ProgramFolder() + std::string(kFilterOptionsFile);
    if (filterFileUnreadable_) {
        Log(path + " could not be read when loading; it is left as it is");
        return false;
    }
    std::string text;
    for (const std::string& marker : StartOfLineMarkers)
        text.append("1~").append(marker).append("\r\n");
    for (const std::string& marker : ContainingMarkers)
        text.append("2~").append(marker).append("\r\n");
    for (size_t i = 0; i < UserTranslations.Count(); ++i)
        text.append("3~").append(UserTranslations.RecordToString(i, "~")).append("\r\n");
    try {
        SaveFileAtomically(path, text);
    } catch (const std::system_error& e) {
        ShowMessage("The speech filters could not be saved (" + std::string(e.what()) +
                    "). Changes stay in effect until the program ends.");
        return false;
    }
    return true;
}

// ---- processing ---------------------------------------------------------------------------------

std::string TPreProcessor::Process(std::string_view text) const {
    std::string out = CollapseSeparatorRuns(RemoveLinesAndPause(NeutraliseTags(text)));
    if (UseUserTranslations)
        out = ApplyUserTranslations(std::move(out));
    out = RemoveNewsReferences(ShortenWebLinks(ShortenSchemeLinks(out)));
    FilterSymbolsAndCapitals(out);
    return out;
}

// One pass over the lines. A line counts from its first character after line breaks (or the
// start) to its next line break; a line with no break after it is never removed. The pause
// before a line belongs to it, so a removed line takes its pause along, and markers are never
// looked for in the pause tag.
std::string TPreProcessor::RemoveLinesAndPause(std::string_view text) const {
    std::string out;
    out.reserve(text.size() + 32);
    int64_t breaks = 0;
    bool inLine = false;
    bool marked = false;
    size_t lineStart = 0; // in out, the pause included
    size_t textStart = 0; // in out, after the pause
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsLineBreak(c)) {
            if (inLine && (marked || (CheckContaining &&
                                      ContainsMarker(std::string_view(out).substr(textStart)))))
                out.resize(lineStart);
            inLine = false;
            ++breaks;
        } else if (!inLine) {
            inLine = true;
            lineStart = out.size();
            marked = CheckStartOfLine && StartsWithMarker(text, i);
            if (!marked && breaks >= 3)
                out += breaks >= 5 ? kLongPause : kShortPause;
            breaks = 0;
            textStart = out.size();
        }
        out += c;
    }
    return out;
}

bool TPreProcessor::StartsWithMarker(std::string_view text, size_t at) const {
    const std::string_view line = text.substr(at);
    return std::any_of(StartOfLineMarkers.begin(), StartOfLineMarkers.end(),
                       [line](const std::string& marker) { return StartsWith(line, marker); });
}

bool TPreProcessor::ContainsMarker(std::string_view line) const {
    return std::any_of(ContainingMarkers.begin(), ContainingMarkers.end(),
                       [line](const std::string& marker) { return FastPos(line, marker, 1) > 0; });
}

std::string TPreProcessor::ApplyUserTranslations(std::string text) const {
    for (const TLookupRecord& row : UserTranslations.Records())
        text = ApplyTranslation(text, row);
    return text;
}

// Symbols become blanks (they neither open nor close a run of capitals). A run opens at a
// capital and goes on over everything but small letters; it is lower-cased when it holds six
// or more capitals.
void TPreProcessor::FilterSymbolsAndCapitals(std::string& text) const {
    constexpr size_t kNoRun = std::string::npos;
    size_t runStart = kNoRun;
    size_t capitals = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char& c = text[i];
        if (FilterSymbols && IsSymbol(c)) {
            c = ' ';
        } else if (IsCapital(c)) {
            if (runStart == kNoRun) {
                runStart = i;
                capitals = 0;
            }
            ++capitals;
        } else if (IsSmall(c) && runStart != kNoRun) {
            if (capitals > 5)
                LowerCaseRange(text, runStart, i);
            runStart = kNoRun;
        }
    }
    if (runStart != kNoRun && capitals > 5)
        LowerCaseRange(text, runStart, text.size());
}

} // namespace olv
