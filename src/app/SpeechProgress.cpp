#include "app/SpeechProgress.h"

#include "util/Strings.h"

#include <algorithm>
#include <cmath>

namespace olv {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Pause tags ("\Pau=500\") are silence, not words.
bool IsPauseTag(std::string_view word) {
    return word.size() > 1 && word.front() == '\\' && word.back() == '\\';
}

} // namespace

void SpeechProgress::Begin(std::string_view processedText) {
    wordStarts_.clear();
    size_t i = 0;
    while (i < processedText.size()) {
        while (i < processedText.size() && IsBlank(processedText[i]))
            ++i;
        const size_t start = i;
        while (i < processedText.size() && !IsBlank(processedText[i]))
            ++i;
        if (i > start && !IsPauseTag(processedText.substr(start, i - start)))
            wordStarts_.push_back(start);
    }
}

std::string SpeechProgress::Text(int position) const {
    const auto reached =
        std::upper_bound(wordStarts_.begin(), wordStarts_.end(), size_t(std::max(position, 0)));
    const long long word = std::max<long long>(reached - wordStarts_.begin(), 1);
    const long long total = static_cast<long long>(wordStarts_.size());
    const long long n = std::min(word, total);
    return "Speaking " + Decimal(n) + " of " + Decimal(total) + " words. (" +
           Decimal(Percent(n, total)) + "%)";
}

std::string SpeechProgress::ConvertingText(long long done, long long total) {
    return "Converting to MP3 " + Decimal(done) + " of " + Decimal(total) + ". (" +
           Decimal(Percent(done, total)) + "%)";
}

int SpeechProgress::Percent(long long done, long long total) {
    return total > 0 ? int(std::lround(double(done) * 100.0 / double(total))) : 0;
}

} // namespace olv
