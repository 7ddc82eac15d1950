#include "util/UtilsClass.h"

#include "platform/Paths.h"
#include "support/TempDir.h"
#include "util/Strings.h"

#include <gtest/gtest.h>
#include <set>

namespace olv {
namespace {

// Conversion failures and their texts are proven by the script suite.
TEST(Strings, PositionsCountFromOneAndClampAtBothEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {Substring("abcdefgh", 2, 3), "bcd"},
        {Substring("abcdefgh", 0, 3), "abc"}, // a start below 1 keeps the count
        {Substring("abcdefgh", -5, 2), "ab"},
        {Substring("abc", 4, 1), ""},
        {Substring("abc", 2, -1), ""},
        {Substring("abc", 2, kMax), "bc"},
        {std::to_string(Find("X", "abcXdef")) + std::to_string(Find("Z", "abc")) +
             std::to_string(Find("", "abc")) + std::to_string(Find("a", "")),
         "4000"},
        {Trim(" \t a b \r\n"), "a b"},
        {Trim("\260F "), "\260F"}, // a degree sign
        {UpperCase("Caf\xe9"), "CAF\xe9"},
    };
    for (const auto& [got, wanted] : cases)
        EXPECT_EQ(got, wanted);
}

TEST(UtilsClass, TextHelpersKeepTheirQuirks) {
    const std::pair<std::string, std::string> cases[] = {
        {UtilsClass::ReplaceAll("aaa", "a", "aa"), "aaaaaa"}, // inserted text is not rescanned
        {UtilsClass::ReplaceAll("abc", "", "x"), "abc"},
        {UtilsClass::ReplaceAll("xyx", "x", ""), "y"},
        // The tail of a long end marker stays.
        {UtilsClass::RemoveBetween("a<script>x</script>b", "<script", "</script"), "a/script>b"},
        {UtilsClass::RemoveBetween("a[1]b[2]c", "[", "]"), "abc"},
        {UtilsClass::RemoveBetween("a[1b", "[", "]"), "a[1b"},
        {UtilsClass::CollapseRuns("a--b-c", "-", "+"), "a+b-c"},
        {UtilsClass::CollapseRuns("ab  ", " ", "_"), "ab_ "}, // the last character is copied
        {std::to_string(UtilsClass::LastPos("</key", "a</key b</key c")), "9"},
        {std::to_string(UtilsClass::LastPos("z", "abc")), "0"},
    };
    for (const auto& [got, wanted] : cases)
        EXPECT_EQ(got, wanted);
    EXPECT_FALSE(UtilsClass::InList({"a", "b"}, "B"));
}

TEST(UtilsClass, TempFileNamesAreFree) {
    test::TempDir dir;
    SetProgramFolder(dir.Folder());
    for (int n = 0; n < 1000; n += 2) // every other name is taken
        dir.Write(std::to_string(n) + ".html", "x");
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i) {
        const std::string name = UtilsClass::MakeTempFileName();
        names.insert(name);
        EXPECT_EQ(std::stoi(name.substr(dir.Folder().size())) % 2, 1) << name;
    }
    EXPECT_GT(names.size(), 1u);
    SetProgramFolder("");
}

} // namespace
} // namespace olv
