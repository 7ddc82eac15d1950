#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace olv {

// Substring searches over raw bytes, for the pre-processor's scans of whole texts.
//
// Both return the 1-based position of the first occurrence of pattern in text at or after
// start (1-based; below 1 counts as 1), or 0. An empty pattern, or one longer than the text
// that remains from start, is never found.
int64_t FastPos(std::string_view text, std::string_view pattern, int64_t start);
// The same, comparing bytes through a fixed upper-case table (ASCII and Latin-1 letters), so
// the text is never converted.
int64_t FastPosNoCase(std::string_view text, std::string_view pattern, int64_t start);

// Cuts the first field off rest: the token is the text before the first of any of the
// delimiter characters, and rest keeps what follows that delimiter. With no delimiter in rest
// the whole of rest is the token and rest becomes empty. Used for the "~" and "|" separated
// lines of the speech data files.
std::string NextToken(std::string& rest, std::string_view delimiters);

} // namespace olv
