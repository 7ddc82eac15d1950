#include "platform/Files.h"
#include "speech/ELookupTblException.h"
#include "speech/FastStrings.h"
#include "speech/TLookupTable.h"
#include "support/TempDir.h"
#include "util/EConvertError.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace olv {
namespace {

// ---- FastStrings ---------------------------------------------------------------------------

TEST(FastStringsTest, FindsFromTheStartPositionOn) {
    EXPECT_EQ(FastPos("abcabc", "bc", 2), 2);
    EXPECT_EQ(FastPos("abcabc", "bc", 3), 5);
    EXPECT_EQ(FastPos("abcabc", "bc", 6), 0);
    EXPECT_EQ(FastPos("abcabc", "abc", 4), 4);
    EXPECT_EQ(FastPos("abcabc", "abc", 0), 1);
    EXPECT_EQ(FastPos("abcabc", "ABC", 1), 0);
}

TEST(FastStringsTest, EmptyOrTooLongPatternsAreNeverFound) {
    for (const auto search : {FastPos, FastPosNoCase}) {
        EXPECT_EQ(search("abc", "", 1), 0);
        EXPECT_EQ(search("abc", "abcd", 1), 0);
        EXPECT_EQ(search("abc", "bc", 3), 0);
        EXPECT_EQ(search("abc", "c", 4), 0);
        EXPECT_EQ(search("abc", "c", 99), 0);
        EXPECT_EQ(search("", "a", 1), 0);
    }
}

TEST(FastStringsTest, NoCaseFoldsAsciiAndLatin1LettersOnly) {
    EXPECT_EQ(FastPosNoCase("Say WWW.x", "www", 1), 5);
    EXPECT_EQ(FastPosNoCase("wwW", "WwW", 1), 1);
    EXPECT_EQ(FastPosNoCase("caf\xC9 caf\xE9", "CAF\xC9", 2), 6);
    // Bytes that differ by 0x20 without being letters stay apart.
    EXPECT_EQ(FastPosNoCase("[x]", "{", 1), 0);
    EXPECT_EQ(FastPosNoCase("\xD7", "\xF7", 1), 0);
    // y with diaeresis has no Latin-1 capital; 0xDF is sharp s.
    EXPECT_EQ(FastPosNoCase("\xFF", "\xDF", 1), 0);
}

TEST(FastStringsTest, NextTokenCutsAtTheFirstOfAnyDelimiter) {
    std::string rest = "a~b|c";
    EXPECT_EQ(NextToken(rest, "|~"), "a");
    EXPECT_EQ(rest, "b|c");
    EXPECT_EQ(NextToken(rest, "|~"), "b");
    EXPECT_EQ(NextToken(rest, "|~"), "c");
    EXPECT_EQ(rest, "");
    EXPECT_EQ(NextToken(rest, "|~"), "");

    rest = "~~x~";
    EXPECT_EQ(NextToken(rest, "~"), "");
    EXPECT_EQ(NextToken(rest, "~"), "");
    EXPECT_EQ(NextToken(rest, "~"), "x");
    EXPECT_EQ(rest, "");
}

// ---- TLookupTable --------------------------------------------------------------------------

// Each row as "Id|Key~Value~T or F".
std::vector<std::string> Rows(const TLookupTable& table) {
    std::vector<std::string> rows;
    for (size_t i = 0; i < table.Count(); ++i)
        rows.push_back(std::to_string(table[i].Id) + "|" + table.RecordToString(i, "~"));
    return rows;
}

using Texts = std::vector<std::string>;

TEST(LookupTableTest, ParsesTheFourFieldsOfALine) {
    TLookupTable table;
    table.ParseLine("  7 ~ Key ~Value two~T", "~");
    table.ParseLine("-3~tx~texas~t", "~");
    table.ParseLine("4~abc", "~");
    table.ParseLine("5|x|y|T|more", "|");
    EXPECT_EQ(Rows(table), (Texts{"7| Key ~Value two~T", "-3|tx~texas~F", "4|abc~~F", "5|x~y~T"}));
}

TEST(LookupTableTest, RefusesDuplicateKeysAndFirstFieldsThatAreNoIntegers) {
    TLookupTable table;
    table.Add("TX", "Texas", true);
    table.Add("tx", "transmit", false);
    EXPECT_TRUE(table.Exists("TX"));
    EXPECT_FALSE(table.Exists("Tx"));
    try {
        table.AddRecord("TX", "again", false, 9);
        FAIL() << "a duplicate key was taken";
    } catch (const ELookupTblException& e) {
        EXPECT_STREQ(e.what(), "Alternate pronunciation already exists for TX");
    }
    EXPECT_THROW(table.ParseLine("x~a~b~F", "~"), EConvertError);
    try {
        table.ParseLine("", "~");
        FAIL() << "an empty line was taken";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(Rows(table), (Texts{"0|TX~Texas~T", "0|tx~transmit~F"}));
}

class LookupTableFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir.File("UserTranslations.chl");
    TLookupTable table;
};

TEST_F(LookupTableFileTest, LoadsCrLfAndLfLinesAndReplacesEarlierRows) {
    table.Add("old", "gone", false);
    dir.Write("UserTranslations.chl", "1~mph~miles per hour~F\r\n2~NWS~weather service~T\n3~a~b");
    table.LoadFromFile(path);
    EXPECT_EQ(table.FileName(), path);
    EXPECT_EQ(Rows(table), (Texts{"1|mph~miles per hour~F", "2|NWS~weather service~T", "3|a~b~F"}));
}

TEST_F(LookupTableFileTest, AMissingFileIsCreatedEmpty) {
    table.LoadFromFile(path);
    EXPECT_TRUE(table.Empty());
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(dir.Read("UserTranslations.chl"), "");

    // A folder that does not exist: nothing to create, nothing thrown.
    const std::string nowhere = dir.File("missing/UserTranslations.chl");
    table.LoadFromFile(nowhere);
    EXPECT_TRUE(table.Empty());
    EXPECT_FALSE(FileExists(nowhere));
}

TEST_F(LookupTableFileTest, ABadLineEndsLoadingAndKeepsTheRowsBeforeIt) {
    dir.Write("UserTranslations.chl", "1~a~A~F\n2~b~B~F\n3~a~again~F\n4~c~C~F\n");
    EXPECT_THROW(table.LoadFromFile(path), ELookupTblException);
    EXPECT_EQ(table.Count(), 2u);

    dir.Write("UserTranslations.chl", "1~a~A~F\n\n4~c~C~F\n");
    EXPECT_THROW(table.LoadFromFile(path), EConvertError);
    EXPECT_EQ(Rows(table), (Texts{"1|a~A~F"}));
}

} // namespace
} // namespace olv
