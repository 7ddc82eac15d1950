#pragma once

// Text helpers that count positions from 1, as the program's data formats and scripts do.
// Text is single-byte Latin-1 throughout.

#include <cstdint>
#include <string>
#include <string_view>

namespace olv {

// Substring(text, start, count): start is 1-based; a start below 1 counts as 1 (the count is
// not reduced); a start past the end, a negative count or an empty text give "". A count that
// runs past the end is cut there. kMax as count means "to the end".
inline constexpr int64_t kMax = INT64_MAX;
std::string_view SubstringView(std::string_view text, int64_t start, int64_t count);
std::string Substring(std::string_view text, int64_t start, int64_t count);

// 1-based index of the first occurrence of needle in text; 0 when absent or either is empty.
int64_t Find(std::string_view needle, std::string_view text);

// Decimal integer conversion; throws EConvertError("'text' is not a valid integer value").
int32_t Number(std::string_view text);
std::string Decimal(int64_t value);

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

// Removes blanks and control characters (every byte up to ' ') from both ends.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

} // namespace olv
