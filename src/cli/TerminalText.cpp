#include "cli/TerminalText.h"

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <langinfo.h>
#include <stdexcept>
#include <vector>

namespace olv {
namespace {

constexpr const char* kLatin1 = "ISO-8859-1";
constexpr const char* kWide = "UTF-32LE";
iconv_t Open(const std::string& to, const std::string& from) {
    iconv_t converter = iconv_open(to.c_str(), from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("cannot convert text from " + from + " to " + to);
    return converter;
}

// Runs text through converter; false at the first sequence that cannot be converted.
bool Convert(iconv_t converter, std::string_view text, std::string& out) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    std::vector<char> input(text.begin(), text.end());
    char* in = input.data();
    size_t inLeft = input.size();
    char chunk[512];
    while (inLeft > 0) {
        char* next = chunk;
        size_t outLeft = sizeof chunk;
        const size_t result = iconv(converter, &in, &inLeft, &next, &outLeft);
        out.append(chunk, static_cast<size_t>(next - chunk));
        if (result == static_cast<size_t>(-1) && errno != E2BIG)
            return false;
    }
    char* next = chunk;
    size_t outLeft = sizeof chunk;
    iconv(converter, nullptr, nullptr, &next, &outLeft);
    out.append(chunk, static_cast<size_t>(next - chunk));
    return true;
}

uint32_t CodePointAt(const std::string& wide, size_t index) {
    uint32_t code = 0;
    for (size_t k = 0; k < 4; ++k)
        code |= static_cast<uint32_t>(static_cast<unsigned char>(wide[index * 4 + k])) << (8 * k);
    return code;
}

} // namespace

std::string TerminalText::LocaleEncoding() {
    std::setlocale(LC_CTYPE, "");
    const std::string encoding = nl_langinfo(CODESET);
    return encoding == "ANSI_X3.4-1968" || encoding.empty() ? "UTF-8" : encoding;
}

TerminalText::TerminalText(const std::string& encoding)
    : encoding_(encoding), toTerminal_(Open(encoding + "//TRANSLIT", kLatin1)),
      toWide_(Open(kWide, encoding)), fromWide_(Open(encoding, kWide)) {}

TerminalText::~TerminalText() {
    iconv_close(toTerminal_);
    iconv_close(toWide_);
    iconv_close(fromWide_);
}

std::string TerminalText::ToTerminal(std::string_view latin1) const {
    std::string out;
    if (!Convert(toTerminal_, latin1, out))
        out += '?';
    return out;
}

bool TerminalText::ToLatin1(std::string_view typed, std::string& latin1,
                            std::string& refused) const {
    latin1.clear();
    refused.clear();
    std::string wide;
    if (!Convert(toWide_, typed, wide))
        return false;
    std::string beyond;
    for (size_t i = 0; i < wide.size() / 4; ++i) {
        const uint32_t code = CodePointAt(wide, i);
        if (code <= 0xFF)
            latin1 += static_cast<char>(code);
        else
            beyond.append(wide, i * 4, 4);
    }
    if (beyond.empty())
        return true;
    Convert(fromWide_, beyond, refused);
    return false;
}

TerminalStreamBuf::TerminalStreamBuf(const TerminalText& text, std::streambuf* target)
    : text_(text), target_(target) {
    setp(buffer_, buffer_ + sizeof buffer_);
}

TerminalStreamBuf::~TerminalStreamBuf() {
    sync();
}

bool TerminalStreamBuf::Pass() {
    const std::string converted = text_.ToTerminal(std::string_view(pbase(), pptr() - pbase()));
    setp(buffer_, buffer_ + sizeof buffer_);
    const auto size = static_cast<std::streamsize>(converted.size());
    return target_->sputn(converted.data(), size) == size;
}

TerminalStreamBuf::int_type TerminalStreamBuf::overflow(int_type c) {
    if (!Pass())
        return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int TerminalStreamBuf::sync() {
    return Pass() && target_->pubsync() == 0 ? 0 : -1;
}

} // namespace olv
