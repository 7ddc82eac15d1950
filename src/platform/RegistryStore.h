#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

// The current user's registry: a tree of keys ("Software\HalvernWorks\Olvenar"), each holding
// named values of string or integer type. Kept in memory and mirrored to one text file per user
// (DefaultFilePath()).
//
// - Key paths are "\"-separated; leading, trailing and doubled separators are ignored. Keys and
//   value names are compared without regard to (ASCII) case; the first spelling is kept.
// - Values keep the order in which they were created; a value written again keeps its place.
// - Every change is saved at once (atomically, mode 0600: the file holds the proxy password),
//   unless a DeferSaves guard is alive, which gathers the changes into one save at its end.
// - A damaged or unreadable file is moved aside ("registry.damaged-<time>"), the user is told
//   through ShowMessage, and the store starts empty. When it cannot even be moved aside, the
//   store never writes over it for the rest of the session.
// - A failed save is reported through ShowMessage once (until a save succeeds again); the
//   values stay in memory. Nothing here throws for file trouble.
//
// All settings objects of the process share one store, Shared(), so they see each other's
// values and never undo each other's saves. Single-threaded, like the rest of the program.
//
// File format (Latin-1 text, LF line ends; '#' starts a comment line):
//   [Software\HalvernWorks\Olvenar]
//   sz:RegionIndex=12
//   dword:Count=5
// "%XX" (two hex digits) stands for one byte: '%', control characters, '=' in value names and a
// trailing blank are written that way. Values of any other type marker are kept as they are
// but read as missing.
class RegistryStore {
public:
    enum class ValueType { String, Integer, Other };

    struct Value {
        std::string Name;
        ValueType Type = ValueType::String;
        std::string Data;       // the text; for Integer its decimal form
        std::string TypeMarker; // as written in the file ("sz", "dword", or another's)
    };

    // Points at the file and loads it.
    explicit RegistryStore(std::string filePath);
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // The process-wide store, opened on first use from DefaultFilePath().
    static RegistryStore& Shared();
    // ConfigFolder() + "registry" ($XDG_CONFIG_HOME/HalvernWorks/registry or OLVENAR_CONFIG_DIR).
    static std::string DefaultFilePath();

    // Forgets everything in memory and loads filePath (tests point the shared store at a
    // temporary folder this way).
    void Open(const std::string& filePath);
    // Loads the current file again, dropping unsaved changes.
    void Reload();
    const std::string& FilePath() const { return filePath_; }

    bool KeyExists(std::string_view key) const;
    // Creates the key and every missing parent.
    void CreateKey(std::string_view key);
    // Deletes the key with its values and every key below it. False when it did not exist.
    bool DeleteKey(std::string_view key);
    // Names of the values of the key in creation order (empty when the key is missing).
    std::vector<std::string> ValueNames(std::string_view key) const;

    // The value, or nullptr when the key or the value is missing.
    const Value* FindValue(std::string_view key, std::string_view name) const;
    // True and the text when the value exists and is a string.
    bool ReadString(std::string_view key, std::string_view name, std::string& text) const;
    // True and the number when the value exists and is an integer.
    bool ReadInteger(std::string_view key, std::string_view name, int32_t& number) const;

    // Write the value, creating the key when missing; the type of an existing value changes.
    void WriteString(std::string_view key, std::string_view name, std::string_view text);
    void WriteInteger(std::string_view key, std::string_view name, int32_t number);
    // False when the value did not exist.
    bool DeleteValue(std::string_view key, std::string_view name);

    // Writes the file now. False when it could not be written (the user has been told).
    bool Save();
    // True while changes have not reached the file (deferred, or the last save failed).
    bool HasUnsavedChanges() const { return dirty_; }

    // While alive, changes are not saved one by one; the last guard to end saves once if
    // anything changed. Guards may nest.
    class DeferSaves {
    public:
        explicit DeferSaves(RegistryStore& store);
        DeferSaves(const DeferSaves&) = delete;
        DeferSaves& operator=(const DeferSaves&) = delete;
        ~DeferSaves();

    private:
        RegistryStore& store_;
    };

    // The file's text for the current contents.
    std::string ToText() const;

private:
    struct Key {
        std::string Path;
        std::vector<Value> Values;
    };

    Key* FindKey(std::string_view key);
    const Key* FindKey(std::string_view key) const;
    Key& MakeKey(std::string_view key);
    bool HasSubkey(std::string_view path) const;
    Value& MakeValue(std::string_view key, std::string_view name);
    void Put(std::string_view key, std::string_view name, ValueType type, std::string_view marker,
             std::string data);
    void Changed();
    void Load();
    bool ParseText(std::string_view text, std::string& problem);
    bool ParseValueLine(std::string_view line, Key& key, std::string& problem);
    void SetAside(const std::string& reason);

    std::string filePath_;
    std::vector<Key> keys_;
    int deferDepth_ = 0;
    bool dirty_ = false;
    bool failureReported_ = false;
    bool writingBlocked_ = false;
};

} // namespace olv
