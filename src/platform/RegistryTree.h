#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace olv {

// The keys and values of the registry file in memory, and the file's text form.
//
// Key paths are "\"-separated; leading, trailing and doubled separators are ignored. Keys and
// value names are compared without regard to (ASCII) case; the first spelling is kept. Keys
// and values keep their creation order. Every lookup is by hash, so that reading or merging a
// file of many values stays linear.
//
// Text form (Latin-1, LF line ends; '#' and ';' start a comment line):
//   [Software\HalvernWorks\Olvenar]
//   sz:RegionIndex=12
//   dword:Count=5
// "%XX" (two hex digits) stands for one byte: '%', control characters, '=' in value names and a
// trailing blank are written that way. Values of any other type marker are kept as they are.
class RegistryTree {
public:
    enum class ValueType { String, Integer, Other };

    struct Value {
        std::string Name;
        ValueType Type = ValueType::String;
        std::string Data;       // the text; for Integer its decimal form
        std::string TypeMarker; // as written in the file ("sz", "dword", or another's)
        // Set only where the value is missing or empty, also when changes are applied to
        // another tree: a value found there stays.
        bool FillsGap = false;
    };

    bool KeyExists(std::string_view key) const { return FindKey(key) != nullptr; }
    // Creates the key and every missing parent. True when anything was created.
    bool CreateKey(std::string_view key);
    // Deletes the key with its values and every key below it. False when it did not exist.
    bool DeleteKey(std::string_view key);
    std::vector<std::string> ValueNames(std::string_view key) const;

    const Value* FindValue(std::string_view key, std::string_view name) const;
    // Creates or changes the value (and its key). False when it was already so.
    bool SetValue(std::string_view key, std::string_view name, Value value);
    bool DeleteValue(std::string_view key, std::string_view name);

    // Replaces the contents with the file's text. Lines that cannot be read are left out; the
    // result says which and why ("line 3: a value line is malformed"), one entry a line.
    std::vector<std::string> Parse(std::string_view text);
    std::string ToText(std::string_view header) const;

    // Makes in this tree the changes that lead from before to after: values set or deleted
    // (those that fill a gap only where this tree has none), keys deleted, and keys deleted and
    // made anew (whose values replace this tree's).
    void ApplyChanges(const RegistryTree& before, const RegistryTree& after);

private:
    struct Key {
        std::string Path;
        uint64_t Generation = 0; // tells a key made anew from the one it replaced
        std::vector<Value> Values;
        std::unordered_map<std::string, size_t> ByName; // folded name -> index in Values
    };

    const Key* FindKey(std::string_view key) const;
    Key* FindKey(std::string_view key);
    Key& MakeKey(std::string_view key);
    static const Value* FindIn(const Key& key, std::string_view name);
    void SetIn(Key& key, Value value);
    void Reindex();
    bool ParseValueLine(std::string_view line, Key& key, std::string& problem);

    std::vector<Key> keys_;
    std::unordered_map<std::string, size_t> byPath_; // folded path -> index in keys_
    uint64_t nextGeneration_ = 1;
};

} // namespace olv
