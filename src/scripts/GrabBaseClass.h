#pragma once

#include "scripts/GBItemClass.h"

#include <string>
#include <string_view>
#include <vector>

namespace olv {

// Reads and writes a ".chl" data file as a tree of keys with name/value lists.
class GrabBaseClass {
public:
    // Loads the file; a missing file leaves the store empty and sets message to
    // "File:" + name + " Not Found.". Keys nested too deep are skipped and said so in message.
    // Read errors of an existing file throw.
    void LoadFromFile(const std::string& fileName, std::string& message);
    // Loads from text already in memory (as if it were a file's contents). False when keys
    // nested too deep were skipped.
    bool LoadFromText(std::string_view fileContents);
    // Replaces the file atomically with the tree in the data-file layout (CR LF line ends).
    // Throws std::system_error on failure; the old file then stays as it was.
    void SaveToFile(const std::string& fileName, std::string& message);
    // The tree as the file's text.
    std::string SaveToText() const;

    std::string GetValue(std::string_view path, std::string_view name);
    // Sets a non-empty value on an existing node; an empty value or a missing node changes nothing.
    void SetValue(std::string_view path, std::string_view name, std::string_view value);
    void GetList(std::string_view path, std::string_view name, std::vector<std::string>& list);
    void SetList(std::string_view path, std::string_view name,
                 const std::vector<std::string>& list);
    void GetChildNames(std::string_view path, std::vector<std::string>& list);
    void AddKey(std::string_view path, std::string_view name);

    // The revision written in one of the first six lines ("<REV...>1.3</...>"), else "0.0".
    static std::string GetRevision(const std::string& fileName);

    void Clear();

    std::string FileName;
    std::string FileText;
    GBItemClass Root;
};

} // namespace olv
