#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

// One user translation: whole-word occurrences of Key are spoken as Value.
struct TLookupRecord {
    std::string Key;
    int32_t Id = 0; // as read from the file; processing does not use it
    std::string Value;
    bool CaseSensitive = false;
};

// The user's pronunciation table: rows in load order, which is also the order in which the
// pre-processor applies them. Keys are unique (compared exactly, so "TX" and "tx" may both be
// there).
//
// File format ("UserTranslations.chl"), one row per line, CR LF or LF:
//   <Id>~<Key>~<Value>~<flag>
// Id is a decimal integer (blanks around it allowed); Key and Value are taken as they are; the
// flag "T" makes the row case-sensitive, anything else (or nothing) case-insensitive. Missing
// fields are empty.
class TLookupTable {
public:
    // Replaces the rows by those of the file and remembers its name. A missing file is created
    // empty (when that fails the table just stays empty). Throws ELookupTblException for a
    // duplicate key and EConvertError for a line whose first field is not an integer (an empty
    // line included); the rows before that line stay in the table.
    void LoadFromFile(const std::string& fileName);

    // Reads one row from a line whose fields are separated by any of the delimiter characters,
    // and appends it through AddRecord.
    void ParseLine(std::string_view line, std::string_view delimiters);

    // AddRecord with Id 0.
    void Add(std::string_view key, std::string_view value, bool caseSensitive);
    // Appends a row; throws ELookupTblException ("Alternate pronunciation already exists for "
    // + key) when a row has that exact key already.
    void AddRecord(std::string_view key, std::string_view value, bool caseSensitive, int32_t id);

    // True when a row's key equals key exactly (case counts).
    bool Exists(std::string_view key) const;

    // Key, delimiter, Value, delimiter, "T" or "F" of the row at 0-based index.
    std::string RecordToString(size_t index, std::string_view delimiter) const;

    void Clear() { records_.clear(); }
    size_t Count() const { return records_.size(); }
    bool Empty() const { return records_.empty(); }
    const TLookupRecord& operator[](size_t index) const { return records_.at(index); }
    const std::vector<TLookupRecord>& Records() const { return records_; }

    // The lines of a speech data file (CR LF or LF); false, logged, when it cannot be read.
    static bool ReadFileLines(const std::string& fileName, std::vector<std::string>& lines);

    // The file of the last LoadFromFile.
    const std::string& FileName() const { return fileName_; }

private:
    std::vector<TLookupRecord> records_;
    std::string fileName_;
};

} // namespace olv
