#include "speech/SpeechText.h"

#include "util/Strings.h"

#include <algorithm>
#include <cctype>

namespace olv {
namespace {

constexpr std::string_view kTagName = "\\pau=";
constexpr size_t kMaxDigits = 9;

// Length of the pause tag at position, 0 when there is none; its value goes to pauseMs.
size_t PauseTagAt(std::string_view text, size_t position, int& pauseMs) {
    if (!SameText(text.substr(position, kTagName.size()), kTagName))
        return 0;
    size_t end = position + kTagName.size();
    size_t digitsStart = end;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    size_t digits = end - digitsStart;
    if (digits == 0 || digits > kMaxDigits || end >= text.size() || text[end] != '\\')
        return 0;
    long value = std::stol(std::string(text.substr(digitsStart, digits)));
    pauseMs = static_cast<int>(std::min<long>(value, SpeechText::kMaxPauseMs));
    return end + 1 - position;
}

void AddWords(std::vector<TextPiece>& pieces, std::string_view text, size_t start, size_t end) {
    std::string_view words = text.substr(start, end - start);
    if (!TrimView(words).empty())
        pieces.push_back(TextPiece{start, std::string(words), 0});
}

} // namespace

std::vector<TextPiece> SpeechText::Split(std::string_view text, bool tagged) {
    std::vector<TextPiece> pieces;
    size_t wordsStart = 0;
    for (size_t i = 0; tagged && i < text.size(); ++i) {
        int pauseMs = 0;
        size_t tagLength = text[i] == '\\' ? PauseTagAt(text, i, pauseMs) : 0;
        if (tagLength == 0)
            continue;
        AddWords(pieces, text, wordsStart, i);
        if (pauseMs > 0)
            pieces.push_back(TextPiece{i, "", pauseMs});
        i += tagLength - 1;
        wordsStart = i + 1;
    }
    AddWords(pieces, text, wordsStart, text.size());
    return pieces;
}

} // namespace olv
