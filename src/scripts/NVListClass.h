#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace olv {

// An ordered list of named text values: script variables, script results and the values of
// one node of a data file. Names match without regard to case; the first spelling is kept.
class NVListClass {
public:
    // Updates the value of an existing name in place, else appends the pair.
    void Put(std::string_view name, std::string_view value);
    // The value of the name, or "" when absent.
    std::string Get(std::string_view name) const;
    // Index of the name, or -1.
    int IndexOf(std::string_view name) const;
    bool Has(std::string_view name) const { return IndexOf(name) >= 0; }
    void Remove(std::string_view name);
    void Clear();
    int Count() const { return static_cast<int>(names_.size()); }

    const std::vector<std::string>& Names() const { return names_; }
    const std::vector<std::string>& Values() const { return values_; }

    // A text list stored under base name B: B = count, B0..B(n-1) = the items. A count that
    // is not a number throws EConvertError; one above Count() reads as Count().
    void ReadList(std::string_view baseName, std::string_view prefix,
                  std::vector<std::string>& list) const;
    void WriteList(std::string_view baseName, std::string_view prefix,
                   const std::vector<std::string>& list);

    // "<name>value</name>" for entry i, the value escaped for a data file.
    std::string EntryAsTag(int i) const;
    // Entry i as a script block: "<name>", one line per script line, "</name>".
    void WriteScriptEntry(std::string_view indent, std::vector<std::string>& output, int i) const;

private:
    int StoredCount(std::string_view baseName) const;
    // True when name is prefix + a decimal index below count, as WriteList names items.
    static bool IsListItemName(std::string_view name, std::string_view prefix, int count);
    void Reindex();

    std::vector<std::string> names_;
    std::vector<std::string> values_;
    std::unordered_map<std::string, int> index_; // upper-cased name -> first entry
};

} // namespace olv
