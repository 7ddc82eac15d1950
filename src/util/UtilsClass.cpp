#include "util/UtilsClass.h"

#include "platform/Files.h"
#include "platform/Paths.h"
#include "util/Strings.h"

#include <algorithm>
#include <chrono>
#include <random>

namespace olv {

std::string UtilsClass::ReplaceAll(std::string_view text, std::string_view find,
                                   std::string_view repl) {
    if (find.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    size_t from = 0;
    for (size_t at = text.find(find); at != std::string_view::npos; at = text.find(find, from)) {
        out.append(text.substr(from, at - from));
        out.append(repl);
        from = at + find.size();
    }
    out.append(text.substr(from));
    return out;
}

std::string UtilsClass::RemoveBetween(std::string_view text, std::string_view start,
                                      std::string_view end) {
    std::string s(text);
    for (;;) {
        const int64_t i = Find(start, s);
        if (i == 0)
            break;
        const int64_t j = Find(end, SubstringView(s, i + 1, kMax));
        if (j == 0)
            break;
        s = Substring(s, 1, i - 1) + Substring(s, i + j + 1, kMax);
    }
    return s;
}

std::string UtilsClass::CollapseRuns(std::string_view text, std::string_view c,
                                     std::string_view repl) {
    if (text.size() <= 1)
        return std::string(text);
    // An empty c never matches a character.
    const bool hasMarker = !c.empty();
    const char marker = hasMarker ? c.front() : '\0';
    std::string out;
    out.reserve(text.size());
    bool runOpen = false;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (!hasMarker || text[i] != marker) {
            out += text[i];
            runOpen = false;
        } else if (!runOpen) {
            if (text[i + 1] == marker) {
                out.append(repl);
                runOpen = true;
            } else {
                out += text[i];
            }
        }
    }
    out += text.back();
    return out;
}

int64_t UtilsClass::LastPos(std::string_view needle, std::string_view text) {
    if (needle.empty() || text.empty())
        return 0;
    const auto at = text.rfind(needle);
    return at == std::string_view::npos ? 0 : static_cast<int64_t>(at) + 1;
}

bool UtilsClass::InList(const std::vector<std::string>& list, std::string_view text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

std::string UtilsClass::MakeTempFileName() {
    // Seeded once: reseeding from the clock on every call hands out the same name twice.
    static std::mt19937 generator(static_cast<unsigned>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^ std::random_device{}()));
    const std::string folder = ProgramFolder();
    std::uniform_int_distribution<int> draw(0, 999);
    for (int attempt = 0; attempt < 200; ++attempt) {
        std::string name = folder + Decimal(draw(generator)) + ".html";
        if (!FileExists(name))
            return name;
    }
    // The folder is crowded with our names: take the first free one in order.
    for (int64_t n = 0;; ++n) {
        std::string name = folder + Decimal(n) + ".html";
        if (!FileExists(name))
            return name;
    }
}

} // namespace olv
