#pragma once

#include <string>
#include <string_view>

namespace olv {

// Conversions at the edge to the engines: the program's text is Latin-1.
class TextEncoding {
public:
    static std::string Latin1ToUtf8(std::string_view text);
    // Characters beyond Latin-1 become their base letter where Latin Extended-A has one,
    // else '?'; malformed bytes become '?'.
    static std::string Utf8ToLatin1(std::string_view text);
    // One ASCII character for each Latin-1 character (accented letters lose their accent,
    // other symbols become blanks), so that positions stay the same.
    static std::string Latin1ToAscii(std::string_view text);
};

} // namespace olv
