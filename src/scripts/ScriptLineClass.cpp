#include "scripts/ScriptLineClass.h"

#include "util/Strings.h"

namespace olv {
namespace {

constexpr size_t kRestLimit = 10000;

std::string_view LimitAndTrim(std::string_view rest) {
    return TrimView(rest.substr(0, kRestLimit));
}

// Takes one argument off the front of rest. Returns false when parsing ends.
bool TakeArgument(std::string_view& rest, ArgClass& arg) {
    if (rest.front() == '\'') {
        rest.remove_prefix(1);
        if (const size_t close = rest.find('\''); close != std::string_view::npos) {
            arg.ArgText = std::string(rest.substr(0, close));
            arg.IsLiteral = true;
            // The character after the closing quote is taken as the separating blank.
            rest.remove_prefix(std::min(close + 2, rest.size()));
            return true;
        }
    }
    const size_t blank = rest.find(' ');
    if (blank == std::string_view::npos) {
        arg.ArgText = std::string(rest);
        return false;
    }
    arg.ArgText = std::string(rest.substr(0, blank));
    rest.remove_prefix(blank + 1);
    return true;
}

} // namespace

void ScriptLineClass::Parse(std::string_view line) {
    LineText = std::string(line);
    Command.clear();
    for (ArgClass& arg : Args)
        arg.Clear();

    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos) {
        Command = LineText;
        return;
    }
    Command = std::string(line.substr(0, blank));
    std::string_view rest = LimitAndTrim(line.substr(blank + 1));
    for (ArgClass& arg : Args) {
        if (rest.empty())
            break;
        if (!TakeArgument(rest, arg))
            break;
        rest = LimitAndTrim(rest);
    }
}

} // namespace olv
