#pragma once

#include "settings/BaseRegClass.h"

namespace olv {

// A real-number setting, stored with "." as the decimal separator whatever the locale.
class regReal : public BaseRegClass {
public:
    regReal(std::string name, RegScope scope, std::string sharedName, const Variant& defaultValue);

    // Reads "." (or "," from a file of another locale).
    void SetFromText(std::string_view text) override;
    std::string ValueAsText() const override { return Variant::FormatReal(Value); }
    std::string DefaultAsText() const override { return Variant::FormatReal(Default); }
    Variant GetValue() const override { return Value; }
    void SetValue(const Variant& value) override { Value = value.AsReal(Value); }
    RegType Type() const override { return RegType::Real; }

    double Value = 0.0;
    double Default = 0.0;
};

} // namespace olv
