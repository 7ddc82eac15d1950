#pragma once

#include "settings/BaseRegClass.h"

namespace olv {

// A yes/no setting, stored as "true" or "false". Only "true" (in any case) reads as true:
// "yes" and "1" are false.
class regBool : public BaseRegClass {
public:
    regBool(std::string name, RegScope scope, std::string sharedName, const Variant& defaultValue)
        : BaseRegClass(std::move(name), scope, std::move(sharedName)),
          Default(defaultValue.AsBool()) {}

    void SetFromText(std::string_view text) override;
    std::string ValueAsText() const override { return Text(Value); }
    std::string DefaultAsText() const override { return Text(Default); }
    Variant GetValue() const override { return Value; }
    void SetValue(const Variant& value) override { Value = value.AsBool(); }
    RegType Type() const override { return RegType::Bool; }

    bool Value = false;
    bool Default = false;

private:
    static std::string Text(bool flag) { return flag ? "true" : "false"; }
};

} // namespace olv
