#pragma once

#include "settings/BaseRegClass.h"

#include <vector>

namespace olv {

// A list of texts, stored one value per entry ("0", "1", ...) in a key of its own. It has no
// default and no single value: reach it through TBaseRegistryClass::GetList.
class regList : public BaseRegClass {
public:
    regList(std::string name, RegScope scope, std::string sharedName)
        : BaseRegClass(std::move(name), scope, std::move(sharedName)) {}

    void SetFromText(std::string_view) override {}
    std::string ValueAsText() const override { return {}; }
    std::string DefaultAsText() const override { return {}; }
    Variant GetValue() const override { return 0; }
    void SetValue(const Variant&) override {}
    RegType Type() const override { return RegType::List; }

    std::vector<std::string> List;
};

} // namespace olv
