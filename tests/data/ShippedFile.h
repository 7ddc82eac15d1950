#pragma once

#include <string>
#include <string_view>

namespace olv::test {

// The whole text of a file shipped in data/; throws when it cannot be read.
std::string ReadShippedFile(const std::string& name);

// Where the first byte outside printable 7-bit ASCII (CR and LF allowed) stands, for the
// failure message, or std::string::npos when the text is clean.
size_t FirstNonAsciiByte(std::string_view text);

// "-71.0598": an optional minus, one to three digits, a point and exactly four decimals, with
// a value of at most `limit` either way. The form of every coordinate the data files hold.
bool IsCoordinate(const std::string& text, double limit);

// A name or field the program can show and find: printable ASCII without blanks at its ends,
// and none of the characters that separate keys ("|"), tags ("<", ">") or the given ones.
bool IsPlainText(const std::string& text, std::string_view alsoForbidden = "");

} // namespace olv::test
