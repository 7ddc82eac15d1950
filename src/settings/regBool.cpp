#include "settings/regBool.h"

#include "util/Strings.h"

namespace olv {

void regBool::SetFromText(std::string_view text) {
    Value = LowerCase(text) == "true";
}

} // namespace olv
