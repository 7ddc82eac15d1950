#include "util/UtilsClass.h"

#include "platform/Paths.h"
#include "support/TempDir.h"
#include "util/EConvertError.h"
#include "util/Strings.h"

#include <gtest/gtest.h>
#include <set>

namespace olv {
namespace {

TEST(Strings, SubstringCountsFromOneAndClampsAtBothEnds) {
    EXPECT_EQ(Substring("abcdefgh", 2, 3), "bcd");
    EXPECT_EQ(Substring("abcdefgh", 0, 3), "abc"); // a start below 1 keeps the count
    EXPECT_EQ(Substring("abcdefgh", -5, 2), "ab");
    EXPECT_EQ(Substring("abc", 4, 1), "");
    EXPECT_EQ(Substring("abc", 2, -1), "");
    EXPECT_EQ(Substring("abc", 2, kMax), "bc");
    EXPECT_EQ(Substring("", 1, 1), "");
}

TEST(Strings, FindIsOneBasedAndZeroForEmptyInput) {
    EXPECT_EQ(Find("X", "abcXdef"), 4);
    EXPECT_EQ(Find("Z", "abc"), 0);
    EXPECT_EQ(Find("", "abc"), 0);
    EXPECT_EQ(Find("a", ""), 0);
}

TEST(Strings, NumberAcceptsIntegersOnly) {
    EXPECT_EQ(Number("42"), 42);
    EXPECT_EQ(Number("-7"), -7);
    EXPECT_EQ(Number("+3"), 3);
    for (const char* bad : {"", "4.5", "12a", "abc", "-", "99999999999"}) {
        try {
            Number(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST(Strings, TrimRemovesBlanksAndControlsButKeepsLatin1) {
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(Trim("\260F "), "\260F"); // a degree sign
    EXPECT_EQ(UpperCase("Caf\xe9"), "CAF\xe9");
}

TEST(UtilsClass, ReplaceAllNeverRescansInsertedText) {
    EXPECT_EQ(UtilsClass::ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(UtilsClass::ReplaceAll("a<p>b<p>", "<p>", "  "), "a  b  ");
    EXPECT_EQ(UtilsClass::ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(UtilsClass::ReplaceAll("xyx", "x", ""), "y");
}

TEST(UtilsClass, RemoveBetweenKeepsTheTailOfALongEndMarker) {
    EXPECT_EQ(UtilsClass::RemoveBetween("a<script>x</script>b", "<script", "</script"),
              "a/script>b");
    EXPECT_EQ(UtilsClass::RemoveBetween("a[1]b[2]c", "[", "]"), "abc");
    EXPECT_EQ(UtilsClass::RemoveBetween("a[1b", "[", "]"), "a[1b");
}

TEST(UtilsClass, CollapseRunsTurnsEachRunIntoOneReplacement) {
    EXPECT_EQ(UtilsClass::CollapseRuns("a   b", " ", " "), "a b");
    EXPECT_EQ(UtilsClass::CollapseRuns("a--b-c", "-", "+"), "a+b-c");
    EXPECT_EQ(UtilsClass::CollapseRuns("x", " ", "_"), "x");
    // The last character is always copied, even when it ends a run.
    EXPECT_EQ(UtilsClass::CollapseRuns("ab  ", " ", "_"), "ab_ ");
}

TEST(UtilsClass, LastPosAndInList) {
    EXPECT_EQ(UtilsClass::LastPos("</key", "a</key b</key c"), 9);
    EXPECT_EQ(UtilsClass::LastPos("z", "abc"), 0);
    EXPECT_TRUE(UtilsClass::InList({"a", "b"}, "b"));
    EXPECT_FALSE(UtilsClass::InList({"a", "b"}, "B"));
}

TEST(UtilsClass, TempFileNamesStayInTheProgramFolderAndAreFree) {
    test::TempDir dir;
    SetProgramFolder(dir.Folder());
    for (int n = 0; n < 1000; n += 2) // every other name is taken
        dir.Write(std::to_string(n) + ".html", "x");
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i) {
        const std::string name = UtilsClass::MakeTempFileName();
        ASSERT_EQ(name.rfind(dir.Folder(), 0), 0u) << name;
        const int number = std::stoi(name.substr(dir.Folder().size()));
        EXPECT_EQ(number % 2, 1) << name;
        names.insert(name);
    }
    EXPECT_GT(names.size(), 1u);
    SetProgramFolder("");
}

} // namespace
} // namespace olv
