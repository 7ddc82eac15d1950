#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

// Text helpers shared by the scripts, the weather record and the speech layer.
class UtilsClass {
public:
    // Replaces every occurrence of find, left to right; inserted text is never rescanned.
    // An empty find changes nothing.
    static std::string ReplaceAll(std::string_view text, std::string_view find,
                                  std::string_view repl);

    // Repeatedly removes from the first character of start through the first character of the
    // end marker that follows it.
    static std::string RemoveBetween(std::string_view text, std::string_view start,
                                     std::string_view end);

    // Replaces each run of two or more c (its first character only is compared) by repl.
    static std::string CollapseRuns(std::string_view text, std::string_view c,
                                    std::string_view repl);

    // 1-based index of the last occurrence of needle in text; 0 when absent.
    static int64_t LastPos(std::string_view needle, std::string_view text);

    // True when an entry equals text exactly.
    static bool InList(const std::vector<std::string>& list, std::string_view text);

    // A fresh "NNN.html" name in the program folder that no existing file has.
    static std::string MakeTempFileName();
};

} // namespace olv
