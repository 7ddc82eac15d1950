#include "speech/WordFilter.h"

#include <algorithm>

namespace olv {
namespace {
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
} // namespace

WordFilter::WordFilter(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsBlank(text[i]))
            continue;
        starts_.push_back(i);
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        ends_.push_back(i);
    }
}

std::optional<size_t> WordFilter::Accept(size_t position) {
    auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
    if (after == starts_.begin())
        return std::nullopt;
    size_t word = static_cast<size_t>(after - starts_.begin()) - 1;
    if (position >= ends_[word] || (lastWord_ && word <= *lastWord_))
        return std::nullopt;
    lastWord_ = word;
    return starts_[word];
}

} // namespace olv
