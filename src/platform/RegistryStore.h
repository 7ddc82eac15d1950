#pragma once

#include "platform/RegistryTree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

// The current user's registry: a tree of keys ("Software\HalvernWorks\Olvenar"), each holding
// named values of string or integer type. Kept in memory and mirrored to one text file per user
// (DefaultFilePath()), in the text form of RegistryTree.
//
// - Every change is saved at once (atomically, mode 0600: the file holds the proxy password),
//   unless a DeferSaves guard is alive, which gathers the changes into one save at its end.
// - A save merges: under a lock on the file path + ".lock" it reads the file again, makes there
//   only the changes this process made since it last read or wrote the file, and writes the
//   result, so that two programs saving their own settings never undo each other. The store
//   then holds the merged values.
// - A symbolic link is written through to its target; a read-only file is left as it is and
//   the save reports it.
// - Lines of the file that cannot be read are left out; the file as it was is kept beside it
//   ("registry.damaged-<time>") and the user is told through ShowMessage. A file that cannot
//   be read at all is moved aside that way; when it cannot even be moved, it is never written.
// - A failed save is reported through ShowMessage once (until a save succeeds again); the
//   values stay in memory. Nothing here throws for file trouble.
//
// All settings objects of the process share one store, Shared(), so they see each other's
// values. Single-threaded, like the rest of the program.
class RegistryStore {
public:
    using ValueType = RegistryTree::ValueType;
    using Value = RegistryTree::Value;

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
    // Writes the text only where the value is missing or empty; what another program saved
    // there meanwhile stays too.
    void WriteStringWhereEmpty(std::string_view key, std::string_view name, std::string_view text);
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
    void Changed();
    void Load();
    // The save itself; returns why it failed, or "".
    std::string MergeAndWrite();
    // Keeps the text of a file with unreadable lines beside it and tells the user, once for
    // each text; returns why it could not be kept, or "".
    std::string KeepDamagedCopy(const std::string& target, const std::string& text,
                                const std::vector<std::string>& problems);
    void SetAside(const std::string& target, const std::string& reason);

    std::string filePath_;
    RegistryTree current_; // what this process sees
    RegistryTree saved_;   // the file as this process last read or wrote it
    std::string keptText_; // the damaged text last kept aside
    int deferDepth_ = 0;
    bool dirty_ = false;
    bool failureReported_ = false;
};

} // namespace olv
