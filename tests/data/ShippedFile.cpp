#include "data/ShippedFile.h"

#include "platform/Files.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <stdexcept>

namespace olv::test {

std::string ReadShippedFile(const std::string& name) {
    std::string text;
    if (!ReadWholeFile(std::string(OLVENAR_DATA_DIR) + "/" + name, text))
        throw std::runtime_error("cannot read data/" + name);
    return text;
}

size_t FirstNonAsciiByte(std::string_view text) {
    const auto at = std::find_if(text.begin(), text.end(), [](unsigned char byte) {
        return (byte < 0x20 || byte > 0x7e) && byte != '\r' && byte != '\n';
    });
    return at == text.end() ? std::string::npos : static_cast<size_t>(at - text.begin());
}

bool IsCoordinate(const std::string& text, double limit) {
    static const std::regex form("-?[0-9]{1,3}\\.[0-9]{4}");
    return std::regex_match(text, form) && std::abs(std::strtod(text.c_str(), nullptr)) <= limit;
}

bool IsPlainText(const std::string& text, std::string_view alsoForbidden) {
    return !text.empty() && text.front() != ' ' && text.back() != ' ' &&
           FirstNonAsciiByte(text) == std::string::npos &&
           text.find_first_of("|<>\r\n" + std::string(alsoForbidden)) == std::string::npos;
}

} // namespace olv::test
