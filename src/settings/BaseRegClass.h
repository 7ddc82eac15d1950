#pragma once

#include "settings/Variant.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace olv {

// Where a setting is stored, below the shared root key "Software\HalvernWorks".
enum class RegScope : uint8_t {
    Shared = 0,       // in the shared root key only
    AppAndShared = 1, // in the application key, falling back to a copy in the shared root key
    App = 2,          // in the application key only
};

// The kind of a setting; the numbers are the type codes of Declare.
enum class RegType : uint8_t { Int = 0, Real = 1, Bool = 2, String = 3, List = 4 };

// One declared setting: a name, a storage scope and a current value that is stored as text.
// The concrete kinds are regInt, regReal, regBool, regString and regList.
class BaseRegClass {
public:
    BaseRegClass(std::string name, RegScope scope, std::string sharedName)
        : Name(std::move(name)), Scope(scope), SharedName(std::move(sharedName)) {}
    BaseRegClass(const BaseRegClass&) = delete;
    BaseRegClass& operator=(const BaseRegClass&) = delete;
    virtual ~BaseRegClass() = default;

    // Parses a stored text into the current value; a text that does not parse gives the default.
    virtual void SetFromText(std::string_view text) = 0;
    // The current value as stored text.
    virtual std::string ValueAsText() const = 0;
    virtual std::string DefaultAsText() const = 0;
    virtual Variant GetValue() const = 0;
    virtual void SetValue(const Variant& value) = 0;
    virtual RegType Type() const = 0;

    std::string Name; // the registry value name; matched without regard to case
    RegScope Scope;
    std::string SharedName; // value name in the shared root key (scope AppAndShared)

protected:
    // Notes in the debug log that a stored text was unusable and the default is taken.
    void LogTakingDefault(std::string_view storedText) const;
};

} // namespace olv
