#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace olv {

// The status line while speaking: "Speaking <n> of <total> words. (<percent>%)". The speech
// controller reports character positions in the text as the engine got it (after the
// pre-processor); this counts the words of that text, so that n and total really are words.
class SpeechProgress {
public:
    // The text as the engine speaks it.
    void Begin(std::string_view processedText);
    // The status text for the word that starts at or before position (0-based).
    std::string Text(int position) const;
    size_t WordCount() const { return wordStarts_.size(); }

    // "Converting to MP3 <n> of <total>. (<percent>%)"
    static std::string ConvertingText(long long done, long long total);
    // n * 100 / total, rounded; 0 for an empty total.
    static int Percent(long long done, long long total);

private:
    std::vector<size_t> wordStarts_;
};

} // namespace olv
