#pragma once

#include "settings/BaseRegClass.h"

namespace olv {

// An integer setting, stored as decimal text.
class regInt : public BaseRegClass {
public:
    regInt(std::string name, RegScope scope, std::string sharedName, const Variant& defaultValue);

    void SetFromText(std::string_view text) override;
    std::string ValueAsText() const override;
    std::string DefaultAsText() const override;
    Variant GetValue() const override { return Value; }
    void SetValue(const Variant& value) override { Value = value.AsInt(Value); }
    RegType Type() const override { return RegType::Int; }

    int32_t Value = 0;
    int32_t Default = 0;
};

} // namespace olv
