#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace olv {

// Language tags ("en-us", "pt-br") of the engines and of the user's locale, and the Windows
// language identifiers that the voice list names languages by.
class LanguageMap {
public:
    // The Windows identifier for a tag: the whole tag, then language and region, then the
    // language alone are looked up. 0 when the language has no identifier.
    static int32_t LanguageIDForTag(std::string_view tag);

    // The user's language from LC_ALL, LC_MESSAGES or LANG ("de_DE.UTF-8" gives "de-de");
    // "en-us" when none is set or it is "C" or "POSIX".
    static std::string UserLanguageTag();

    // The language and the region subtags of a tag, lower case ("en-gb-x-rp": "en", "gb").
    static std::string LanguageOf(std::string_view tag);
    static std::string RegionOf(std::string_view tag);
};

} // namespace olv
