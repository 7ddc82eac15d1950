#include "speech/TextEncoding.h"

#include <cstdint>

namespace olv {
namespace {

// Base letters of U+00C0..U+00FF ('_' marks a symbol that becomes a blank).
constexpr char kLatin1Base[] = "AAAAAAACEEEEIIII"
                               "DNOOOOO_OUUUUYTs"
                               "aaaaaaaceeeeiiii"
                               "dnooooo_ouuuuyty";

// Base letters of U+0100..U+017F.
constexpr char kExtendedABase[] = "AaAaAaCcCcCcCcDd"
                                  "DdEeEeEeEeEeGgGg"
                                  "GgGgHhHhIiIiIiIi"
                                  "IiJjJjKkkLlLlLlL"
                                  "lLlNnNnNnnNnOoOo"
                                  "OoOoRrRrRrSsSsSs"
                                  "SsTtTtTtUuUuUuUu"
                                  "UuUuWwYyYZzZzZzs";

size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

} // namespace

std::string TextEncoding::Latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string TextEncoding::Utf8ToLatin1(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        size_t length = SequenceLength(lead);
        if (length == 0 || i + length > text.size()) {
            out += '?';
            ++i;
            continue;
        }
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            valid = valid && (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid)
            out += '?';
        else if (code <= 0xFF)
            out += static_cast<char>(code);
        else if (code >= 0x100 && code <= 0x17F)
            out += kExtendedABase[code - 0x100];
        else
            out += '?';
        i += valid ? length : 1;
    }
    return out;
}

std::string TextEncoding::Latin1ToAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        auto code = static_cast<unsigned char>(c);
        if (code < 0x80)
            continue;
        char base = code >= 0xC0 ? kLatin1Base[code - 0xC0] : '_';
        c = base == '_' ? ' ' : base;
    }
    return out;
}

} // namespace olv
