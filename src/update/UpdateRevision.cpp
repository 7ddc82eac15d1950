#include "update/UpdateRevision.h"

#include "util/Strings.h"

#include <charconv>
#include <cmath>

namespace olv {

double RevisionNumber(std::string_view text) {
    const std::string_view number = TrimView(text);
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return 0;
    return value;
}

bool IsNewerRevision(std::string_view server, std::string_view local) {
    return RevisionNumber(server) > RevisionNumber(local);
}

} // namespace olv
