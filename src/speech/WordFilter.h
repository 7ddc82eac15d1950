#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace olv {

// Turns an engine's word reports into one report per word of the source text. Engines report
// more than once within a word (a number read as several words) and sometimes point into the
// middle of it; each report is mapped to the word (run of non-blanks) that holds it, and only
// a word beyond the last one reported is passed on, as its start.
class WordFilter {
public:
    explicit WordFilter(std::string_view text);

    // The 0-based start of the word holding position when that word is new; else nothing.
    std::optional<size_t> Accept(size_t position);

private:
    std::vector<size_t> starts_;
    std::vector<size_t> ends_;
    std::optional<size_t> lastWord_;
};

} // namespace olv
