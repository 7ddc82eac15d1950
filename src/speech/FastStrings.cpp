#include "speech/FastStrings.h"

#include <array>

namespace olv {
namespace {

using UpperTable = std::array<unsigned char, 256>;

// Latin-1 small letters: a-z, and 0xE0-0xFE except the division sign. 0xDF (sharp s) and
// 0xFF (y with diaeresis) have no capital in Latin-1 and stay as they are.
constexpr unsigned char UpperOf(unsigned c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 'a' + 'A');
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    return static_cast<unsigned char>(c);
}

constexpr UpperTable BuildUpperTable() {
    UpperTable table{};
    for (unsigned c = 0; c < table.size(); ++c)
        table[c] = UpperOf(c);
    return table;
}

// Built once, before anything runs.
constexpr UpperTable kUpper = BuildUpperTable();

// 0-based first index to try, or npos when the pattern cannot fit from start on.
size_t FirstIndex(std::string_view text, std::string_view pattern, int64_t start) {
    const int64_t from = start < 1 ? 0 : start - 1;
    if (pattern.empty() || from > static_cast<int64_t>(text.size()) ||
        pattern.size() > text.size() - static_cast<size_t>(from))
        return std::string_view::npos;
    return static_cast<size_t>(from);
}

bool SameUpper(char a, char b) {
    return kUpper[static_cast<unsigned char>(a)] == kUpper[static_cast<unsigned char>(b)];
}

} // namespace

int64_t FastPos(std::string_view text, std::string_view pattern, int64_t start) {
    const size_t from = FirstIndex(text, pattern, start);
    if (from == std::string_view::npos)
        return 0;
    const size_t at = text.find(pattern, from);
    return at == std::string_view::npos ? 0 : static_cast<int64_t>(at) + 1;
}

int64_t FastPosNoCase(std::string_view text, std::string_view pattern, int64_t start) {
    const size_t from = FirstIndex(text, pattern, start);
    if (from == std::string_view::npos)
        return 0;
    const size_t last = text.size() - pattern.size();
    for (size_t i = from; i <= last; ++i) {
        if (!SameUpper(text[i], pattern[0]))
            continue;
        size_t k = 1;
        while (k < pattern.size() && SameUpper(text[i + k], pattern[k]))
            ++k;
        if (k == pattern.size())
            return static_cast<int64_t>(i) + 1;
    }
    return 0;
}

std::string NextToken(std::string& rest, std::string_view delimiters) {
    const size_t at = rest.find_first_of(delimiters);
    if (at == std::string::npos) {
        std::string token = std::move(rest);
        rest.clear();
        return token;
    }
    std::string token = rest.substr(0, at);
    rest.erase(0, at + 1);
    return token;
}

} // namespace olv
