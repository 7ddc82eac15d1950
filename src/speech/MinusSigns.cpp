#include "speech/MinusSigns.h"

#include <cctype>

namespace olv {
namespace {

bool IsLetterOrDigit(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::string SpokenMinusSigns(std::string_view text) {
    std::string spoken;
    spoken.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const bool minus = text[i] == '-' && i + 1 < text.size() && IsDigit(text[i + 1]) &&
                           (i == 0 || !IsLetterOrDigit(text[i - 1]));
        if (minus)
            spoken += " minus ";
        else
            spoken += text[i];
    }
    return spoken;
}

} // namespace olv
