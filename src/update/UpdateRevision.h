#pragma once

#include <string_view>

namespace olv {

// A revision or program version ("1.27") as a decimal number, read with "." as the separator
// whatever the locale; a text that is not wholly such a number counts as 0.
double RevisionNumber(std::string_view text);

// True when the server's revision is a greater number than the local one ("1.5" and "1.50" are
// the same revision).
bool IsNewerRevision(std::string_view server, std::string_view local);

} // namespace olv
