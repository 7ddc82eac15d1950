#include "settings/regInt.h"

#include "util/Strings.h"

namespace olv {

regInt::regInt(std::string name, RegScope scope, std::string sharedName,
               const Variant& defaultValue)
    : BaseRegClass(std::move(name), scope, std::move(sharedName)), Default(defaultValue.AsInt()) {}

void regInt::SetFromText(std::string_view text) {
    if (Variant::ParseInt(text, Value))
        return;
    LogTakingDefault(text);
    Value = Default;
}

std::string regInt::ValueAsText() const {
    return Decimal(Value);
}

std::string regInt::DefaultAsText() const {
    return Decimal(Default);
}

} // namespace olv
