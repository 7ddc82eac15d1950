#include "settings/regReal.h"

namespace olv {

regReal::regReal(std::string name, RegScope scope, std::string sharedName,
                 const Variant& defaultValue)
    : BaseRegClass(std::move(name), scope, std::move(sharedName)), Default(defaultValue.AsReal()) {}

void regReal::SetFromText(std::string_view text) {
    if (Variant::ParseReal(text, Value))
        return;
    LogTakingDefault(text);
    Value = Default;
}

} // namespace olv
