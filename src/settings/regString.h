#pragma once

#include "settings/BaseRegClass.h"

namespace olv {

// A text setting, stored as it is.
class regString : public BaseRegClass {
public:
    regString(std::string name, RegScope scope, std::string sharedName, const Variant& defaultValue)
        : BaseRegClass(std::move(name), scope, std::move(sharedName)),
          Default(defaultValue.AsString()) {}

    void SetFromText(std::string_view text) override { Value = text; }
    std::string ValueAsText() const override { return Value; }
    std::string DefaultAsText() const override { return Default; }
    Variant GetValue() const override { return Value; }
    void SetValue(const Variant& value) override { Value = value.AsString(); }
    RegType Type() const override { return RegType::String; }

    std::string Value;
    std::string Default;
};

} // namespace olv
