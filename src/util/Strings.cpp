#include "util/Strings.h"

#include "util/EConvertError.h"

#include <algorithm>
#include <limits>

namespace olv {
namespace {
char ToUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char ToLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
} // namespace

std::string_view SubstringView(std::string_view text, int64_t start, int64_t count) {
    if (start < 1)
        start = 1;
    const auto size = static_cast<int64_t>(text.size());
    if (text.empty() || count <= 0 || start > size)
        return {};
    const int64_t available = size - start + 1;
    return text.substr(static_cast<size_t>(start - 1),
                       static_cast<size_t>(std::min(count, available)));
}

std::string Substring(std::string_view text, int64_t start, int64_t count) {
    return std::string(SubstringView(text, start, count));
}

int64_t Find(std::string_view needle, std::string_view text) {
    if (needle.empty() || text.empty())
        return 0;
    const auto at = text.find(needle);
    return at == std::string_view::npos ? 0 : static_cast<int64_t>(at) + 1;
}

int32_t Number(std::string_view text) {
    std::string_view digits = text;
    while (!digits.empty() && digits.front() == ' ')
        digits.remove_prefix(1);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.size() > 10)
        throw EConvertError::NotAnInteger(text);
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            throw EConvertError::NotAnInteger(text);
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        throw EConvertError::NotAnInteger(text);
    return static_cast<int32_t>(value);
}

std::string Decimal(int64_t value) {
    return std::to_string(value);
}

std::string UpperCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), ToUpper);
    return out;
}

std::string LowerCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), ToLower);
    return out;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return ToUpper(x) == ToUpper(y);
           });
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string_view TrimView(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

} // namespace olv
