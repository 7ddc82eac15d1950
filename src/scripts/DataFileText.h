#pragma once

#include <string>
#include <string_view>

namespace olv {

// Values and key names in a data file are written with their markup characters and line
// breaks as entities, so that text from a weather service can never end its element early or
// open another: "<" is "&lt;", ">" is "&gt;", CR and LF are "&#13;" and "&#10;". An "&" is
// written as "&amp;" only where it would otherwise read as one of these; any other "&" (as in
// the "&lon=" of a link) stays as it is, so files written before read the same.
std::string EscapeForDataFile(std::string_view text);
std::string UnescapeFromDataFile(std::string_view text);

} // namespace olv
