#include "util/ColourText.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

TEST(ColourText, ReadsNamesAndNumbersWithRedInTheLowByte) {
    const struct {
        const char* text;
        Rgb colour;
    } cases[] = {
        {"clNavy", {0, 0, 128}},        {"clwhite", {255, 255, 255}},
        {"CLYELLOW", {255, 255, 0}},    {"128", {128, 0, 0}},
        {"4227327", {255, 128, 64}},    {"65408", {128, 255, 0}},
        {"$00004000", {0, 64, 0}},      {"$0000FF80", {128, 255, 0}},
        {"$0080FFFF", {255, 255, 128}}, {"$00FF0080", {128, 0, 255}},
        {" 0x00800040 ", {64, 0, 128}}, {"clLtGray", {192, 192, 192}},
    };
    for (const auto& c : cases) {
        Rgb colour;
        ASSERT_TRUE(ColourFromText(c.text, colour)) << c.text;
        EXPECT_EQ(colour, c.colour) << c.text;
    }
    Rgb untouched{1, 2, 3};
    for (const char* bad : {"", "clNoSuch", "$", "12a", "-5", "$FF000000", "$1FFFFFFFF"})
        EXPECT_FALSE(ColourFromText(bad, untouched)) << bad;
    EXPECT_EQ(untouched, (Rgb{1, 2, 3}));
}

TEST(ColourText, WritesANameWhenThereIsOneElseEightHexDigits) {
    EXPECT_EQ(ColourToText({0, 0, 128}), "clNavy");
    EXPECT_EQ(ColourToText({128, 0, 0}), "clMaroon");
    EXPECT_EQ(ColourToText({192, 192, 192}), "clSilver"); // not its alias
    EXPECT_EQ(ColourToText({128, 0, 255}), "$00FF0080");
    EXPECT_EQ(ColourToText({1, 2, 3}), "$00030201");
    for (const char* text : {"$00FF0080", "clMoneyGreen", "$00ABCDEF"}) {
        Rgb colour;
        ASSERT_TRUE(ColourFromText(text, colour));
        EXPECT_EQ(ColourToText(colour), text);
    }
}

} // namespace
} // namespace olv
