#include "scripts/ScriptLineClass.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

struct Arg {
    std::string Text;
    bool Literal = false;
};

// Lines without a command (a leading blank, a remark) are proven by the interpreter's tests.
TEST(ScriptLine, SplitsCommandLiteralsAndVariableNames) {
    struct Case {
        std::string Line, Command;
        std::vector<Arg> Args; // the first ones; the rest are not looked at
    };
    const Case cases[] = {
        // (Plain lines are read by every script the other tests run.)
        {"grabto Hum '</b>' ", "grabto", {{"Hum"}, {"</b>", true}, {""}}},
        // The character after a closing quote is dropped, blank or not.
        {"x 'abc'def ghi", "x", {{"abc", true}, {"ef"}, {"ghi"}}},
        {"x '' next", "x", {{"", true}, {"next"}}},
        {"x 'a b' 'c d'", "x", {{"a b", true}, {"c d", true}}},
        // An unclosed quote gives plain arguments.
        {"x 'abc def", "x", {{"abc"}, {"def"}}},
        // Three arguments at most; tabs do not separate.
        {"cmd a b c d e", "cmd", {{"a"}, {"b"}, {"c"}}},
        {"cmd\ta b", "cmd\ta", {{"b"}}},
    };
    ScriptLineClass line;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        line.Parse(c.Line);
        EXPECT_EQ(line.Command, c.Command);
        for (size_t i = 0; i < c.Args.size(); ++i) {
            EXPECT_EQ(line.Args[i].ArgText, c.Args[i].Text) << "argument " << i + 1;
            EXPECT_EQ(line.Args[i].IsLiteral, c.Args[i].Literal) << "argument " << i + 1;
        }
    }
}

} // namespace
} // namespace olv
