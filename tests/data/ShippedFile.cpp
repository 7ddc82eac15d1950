#include "data/ShippedFile.h"

#include "platform/Files.h"

#include <cstdlib>
#include <stdexcept>

namespace olv::test {

std::string ReadShippedFile(const std::string& name) {
    std::string text;
    if (!ReadWholeFile(std::string(OLVENAR_DATA_DIR) + "/" + name, text))
        throw std::runtime_error("cannot read data/" + name);
    return text;
}

size_t FirstNonAsciiByte(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte < 0x20 || byte > 0x7e) && byte != '\r' && byte != '\n')
            return i;
    }
    return std::string::npos;
}

bool IsCoordinate(const std::string& text, double limit) {
    const size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    const size_t point = text.find('.');
    if (point == std::string::npos || point <= start || point > start + 3 ||
        text.size() != point + 5)
        return false;
    for (size_t i = start; i < text.size(); ++i)
        if (i != point && (text[i] < '0' || text[i] > '9'))
            return false;
    return std::abs(std::strtod(text.c_str(), nullptr)) <= limit;
}

size_t FirstForeignLineEnd(std::string_view text, std::string_view lineEnd) {
    const bool crlf = lineEnd == "\r\n";
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && !(crlf && i + 1 < text.size() && text[i + 1] == '\n'))
            return i;
        if (text[i] == '\n' && crlf && (i == 0 || text[i - 1] != '\r'))
            return i;
    }
    return std::string::npos;
}

} // namespace olv::test
