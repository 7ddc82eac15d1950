// The text handling around the engines: pause tags, Latin-1 conversions,
// language identifiers, and the speak step's minus signs.

#include "speech/SpeechText.h"

#include "speech/MinusSigns.h"
#include "speech/TextEncoding.h"

#include <gtest/gtest.h>

namespace olv::test {
namespace {

// The pieces as "start:text:pause" separated by "|".
std::string Split(std::string_view text, bool tagged = true) {
    std::string pieces;
    for (const TextPiece& piece : SpeechText::Split(text, tagged))
        pieces += (pieces.empty() ? "" : "|") + std::to_string(piece.Start) + ":" + piece.Text +
                  ":" + std::to_string(piece.PauseMs);
    return pieces;
}

// Pieces of blanks alone and zero pauses are left out; anything but a pause tag is text.
TEST(SpeechTextTest, PauseTagsCutTheTextAndNothingElseDoes) {
    EXPECT_EQ(Split("One. \\Pau=1000\\ Two."), "0:One. :0|5::1000|15: Two.:0");
    EXPECT_EQ(Split("\\pau=0500\\\\PAU=20\\Go"), "0::500|10::20|18:Go:0");
    EXPECT_EQ(Split("A \\Pau=0\\  \\Pau=5\\ "), "0:A :0|11::5");
    EXPECT_EQ(Split("   "), "");
    EXPECT_EQ(SpeechText::Split("\\Pau=999999999\\", true)[0].PauseMs, SpeechText::kMaxPauseMs);
    for (const char* text :
         {"\\Pau=\\ x", "\\Pau=12 x", "\\Pau=-5\\ x", "\\Pau = 5\\ x", "\\Pau=1234567890\\ x",
          "\\Spd=400\\ x", "<break time=\"1s\"/> x", "\\Pau=10"})
        EXPECT_EQ(Split(text), "0:" + std::string(text) + ":0");
    EXPECT_EQ(Split("One \\Pau=3000\\ two.", false), "0:One \\Pau=3000\\ two.:0");
}

TEST(SpeechTextTest, WhatLatin1CannotHoldLosesItsAccentsOrBecomesAQuestionMark) {
    // (Latin-1 itself both ways: ReportToolTest, through the terminal.)
    // Beyond Latin-1: Latin Extended-A loses its accents, the rest and broken bytes become '?'.
    EXPECT_EQ(TextEncoding::Utf8ToLatin1("M\xc4\x81ori \xc5\x81\xc3\xb3"
                                         "d\xc5\xba"),
              "Maori L\xf3"
              "dz");
    EXPECT_EQ(TextEncoding::Utf8ToLatin1("\xe2\x82\xac \xc3 x \xff"), "? ? x ?");
    EXPECT_EQ(TextEncoding::Latin1ToAscii("Caf\xe9 \xb0"
                                          "C \xdf\xe6\xf7"),
              "Cafe  C sa ");
}

TEST(MinusSignsTest, OnlySignsBeforeNumbersAreSpokenAsMinus) {
    EXPECT_EQ(SpokenMinusSigns("-5 degrees"), " minus 5 degrees");
    EXPECT_EQ(SpokenMinusSigns("a low of -12. Wind chill (-20)"),
              "a low of  minus 12. Wind chill ( minus 20)");
    // Hyphens in words and ranges are not signs: "mid minus 70s" would be plainly wrong.
    EXPECT_EQ(SpokenMinusSigns("highs in the mid-70s, 5-10 mph"), "highs in the mid-70s, 5-10 mph");
    EXPECT_EQ(SpokenMinusSigns("north-northwest - then calm -"), "north-northwest - then calm -");
    EXPECT_EQ(SpokenMinusSigns(""), "");
}

} // namespace
} // namespace olv::test
