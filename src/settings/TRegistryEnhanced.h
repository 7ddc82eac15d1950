#pragma once

#include "platform/RegistryStore.h"
#include "settings/TBrkApart.h"
#include "settings/Variant.h"

#include <string>
#include <string_view>
#include <vector>

namespace olv {

// Reads and writes registry values by path below a base key.
//
// A value path may contain "\": everything before the last "\" is a sub-path appended to Key,
// the last piece is the value name ("Olvenar\RegionIndex" below "Software\HalvernWorks").
// Empty pieces are dropped. Only the current user's hive is backed (by a RegistryStore); other
// root keys read as empty and take no writes. Each write or delete reaches the store's file at
// once unless a RegistryStore::DeferSaves guard is alive.
class TRegistryEnhanced {
public:
    enum TRootKey {
        hkClassesRoot,
        hkCurrentConfig,
        hkCurrentUser,
        hkDynData,
        hkLocalMachine,
        hkPerformanceData,
        hkUsers
    };
    enum TAccess { kRead, kWrite, kExecute, kAllAccess };

    explicit TRegistryEnhanced(RegistryStore& store = RegistryStore::Shared());

    // Writes the value, creating missing keys. A text is written as a string value, an integer
    // or boolean (1/0) as an integer value, a real as its text, an empty variant as "".
    void WriteValue(std::string_view valuePath, const Variant& value);
    // The value (string values as text, integer values as integers), or defaultValue when the
    // key or the value is missing or the value is of another type.
    Variant ReadValue(std::string_view valuePath, const Variant& defaultValue) const;
    // Names of the values of the key at keyPath (below Key), in the order they were created.
    std::vector<std::string> ValueNames(std::string_view keyPath) const;
    // False when there was no such value.
    bool DeleteValue(std::string_view valuePath);

    RegistryStore& Store() const { return *store_; }

    TRootKey RootKey = hkCurrentUser;
    TAccess Access = kAllAccess;
    std::string Key; // base key path, e.g. "Software\HalvernWorks"

private:
    bool CanRead() const;
    bool CanWrite() const;
    // The full key of a path; with valueName, the last piece is the value name instead.
    std::string FullKey(std::string_view path, std::string* valueName) const;

    RegistryStore* store_;
    mutable TBrkApart pieces_;
};

} // namespace olv
