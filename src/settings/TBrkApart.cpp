#include "settings/TBrkApart.h"

#include <string_view>

namespace olv {

void TBrkApart::Split() {
    StringList.clear();
    std::string_view rest = BaseString;
    bool found = false;
    do {
        const size_t at = BreakString.empty() ? std::string_view::npos : rest.find(BreakString);
        found = at != std::string_view::npos;
        const std::string_view piece = found ? rest.substr(0, at) : rest;
        if (!piece.empty() || AllowEmptyString)
            StringList.emplace_back(piece);
        if (found)
            rest.remove_prefix(at + BreakString.size());
    } while (found);
}

} // namespace olv
