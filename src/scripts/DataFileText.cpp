#include "scripts/DataFileText.h"

#include "util/Strings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace olv {
namespace {

// Each entity with the byte it stands for. "&amp;" comes first so that the reader takes it
// before the others it may precede.
constexpr std::array<std::pair<std::string_view, char>, 5> kEntities = {{
    {"&amp;", '&'},
    {"&lt;", '<'},
    {"&gt;", '>'},
    {"&#13;", '\r'},
    {"&#10;", '\n'},
}};

// The entity that starts at text[at], or nullptr.
const std::pair<std::string_view, char>* EntityAt(std::string_view text, size_t at) {
    for (const auto& entity : kEntities)
        if (StartsWith(text.substr(at), entity.first))
            return &entity;
    return nullptr;
}

} // namespace

std::string EscapeForDataFile(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&' && !EntityAt(text, i)) {
            out += c;
            continue;
        }
        const auto entity = std::find_if(kEntities.begin(), kEntities.end(),
                                         [c](const auto& e) { return e.second == c; });
        if (entity == kEntities.end())
            out += c;
        else
            out.append(entity->first);
    }
    return out;
}

std::string UnescapeFromDataFile(std::string_view text) {
    if (text.find('&') == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto* entity = text[i] == '&' ? EntityAt(text, i) : nullptr;
        if (entity) {
            out += entity->second;
            i += entity->first.size() - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace olv
