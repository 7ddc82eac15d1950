#include "scripts/ScriptLineClass.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

struct Expected {
    std::string text;
    bool literal;
};

void ExpectArgs(const ScriptLineClass& line, std::initializer_list<Expected> args) {
    size_t i = 0;
    for (const Expected& arg : args) {
        EXPECT_EQ(line.Args[i].ArgText, arg.text)
            << "argument " << i + 1 << " of " << line.LineText;
        EXPECT_EQ(line.Args[i].IsLiteral, arg.literal)
            << "argument " << i + 1 << " of " << line.LineText;
        ++i;
    }
}

TEST(ScriptLine, SplitsCommandLiteralsAndVariableNames) {
    ScriptLineClass line;
    line.Parse("grab Temp '12'");
    EXPECT_EQ(line.Command, "grab");
    ExpectArgs(line, {{"Temp", false}, {"12", true}, {"", false}});

    line.Parse("grabto Hum '</b>' ");
    ExpectArgs(line, {{"Hum", false}, {"</b>", true}, {"", false}});

    line.Parse("END");
    EXPECT_EQ(line.Command, "END");
    ExpectArgs(line, {{"", false}});
}

TEST(ScriptLine, TheCharacterAfterAClosingQuoteIsDropped) {
    ScriptLineClass line;
    line.Parse("x 'abc'def ghi");
    ExpectArgs(line, {{"abc", true}, {"ef", false}, {"ghi", false}});

    line.Parse("x '' next");
    ExpectArgs(line, {{"", true}, {"next", false}});

    line.Parse("x 'a b' 'c d'");
    ExpectArgs(line, {{"a b", true}, {"c d", true}});
}

TEST(ScriptLine, AnUnclosedQuoteGivesPlainArguments) {
    ScriptLineClass line;
    line.Parse("x 'abc def");
    ExpectArgs(line, {{"abc", false}, {"def", false}});
    line.Parse("x '");
    ExpectArgs(line, {{"", false}});
}

TEST(ScriptLine, OddShapesAndLimits) {
    ScriptLineClass line;
    line.Parse(" grab a '1'");
    EXPECT_EQ(line.Command, "");

    line.Parse("' any remark");
    EXPECT_EQ(line.Command, "'");

    line.Parse("cmd a b c d e");
    ExpectArgs(line, {{"a", false}, {"b", false}, {"c", false}});

    line.Parse("cmd\ta b"); // tabs do not separate
    EXPECT_EQ(line.Command, "cmd\ta");

    line.Parse("setvar x '" + std::string(20000, 'y') + "'");
    EXPECT_EQ(line.Args[1].ArgText.size(), 9997u); // the rest is cut at 10,000 characters
    EXPECT_FALSE(line.Args[1].IsLiteral);
}

} // namespace
} // namespace olv
