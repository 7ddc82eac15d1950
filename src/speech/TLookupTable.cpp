#include "speech/TLookupTable.h"

#include "platform/Files.h"
#include "speech/ELookupTblException.h"
#include "speech/FastStrings.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <algorithm>
#include <system_error>

namespace olv {

void TLookupTable::LoadFromFile(const std::string& fileName) {
    fileName_ = fileName;
    records_.clear();
    if (!FileExists(fileName)) {
        // An empty file shows the user where the table lives.
        try {
            SaveFileAtomically(fileName, "");
        } catch (const std::system_error& e) {
            Log(std::string("Could not create the empty translation table: ") + e.what());
        }
        return;
    }
    std::vector<std::string> lines;
    if (!ReadFileLines(fileName, lines))
        return;
    for (const std::string& line : lines)
        ParseLine(line, "~");
}

bool TLookupTable::ReadFileLines(const std::string& fileName, std::vector<std::string>& lines) {
    std::string text;
    try {
        if (!ReadWholeFile(fileName, text)) {
            Log("Could not open " + fileName);
            return false;
        }
    } catch (const std::system_error& e) {
        Log(e.what());
        return false;
    }
    lines = SplitLines(text);
    return true;
}

void TLookupTable::ParseLine(std::string_view line, std::string_view delimiters) {
    std::string rest(line);
    const int32_t id = Number(TrimView(NextToken(rest, delimiters)));
    const std::string key = NextToken(rest, delimiters);
    const std::string value = NextToken(rest, delimiters);
    const bool caseSensitive = NextToken(rest, delimiters) == "T";
    AddRecord(key, value, caseSensitive, id);
}

void TLookupTable::Add(std::string_view key, std::string_view value, bool caseSensitive) {
    AddRecord(key, value, caseSensitive, 0);
}

void TLookupTable::AddRecord(std::string_view key, std::string_view value, bool caseSensitive,
                             int32_t id) {
    if (Exists(key))
        throw ELookupTblException("Alternate pronunciation already exists for " + std::string(key));
    records_.push_back(TLookupRecord{std::string(key), id, std::string(value), caseSensitive});
}

bool TLookupTable::Exists(std::string_view key) const {
    return std::any_of(records_.begin(), records_.end(),
                       [key](const TLookupRecord& record) { return record.Key == key; });
}

std::string TLookupTable::RecordToString(size_t index, std::string_view delimiter) const {
    const TLookupRecord& record = records_.at(index);
    std::string text = record.Key;
    text.append(delimiter).append(record.Value).append(delimiter);
    text.append(record.CaseSensitive ? "T" : "F");
    return text;
}

} // namespace olv
