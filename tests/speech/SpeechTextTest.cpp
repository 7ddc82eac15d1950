// The text handling around the engines: pause tags, word reports, Latin-1 conversions,
// language identifiers, and the speak step's minus signs.

#include "speech/SpeechText.h"

#include "speech/LanguageMap.h"
#include "speech/MinusSigns.h"
#include "speech/TextEncoding.h"
#include "speech/WordFilter.h"
#include "speech/support/ScopedEnv.h"

#include <gtest/gtest.h>

namespace olv::test {
namespace {

struct Piece {
    size_t Start;
    std::string Text;
    int PauseMs;
    bool operator==(const Piece& other) const {
        return Start == other.Start && Text == other.Text && PauseMs == other.PauseMs;
    }
};

std::ostream& operator<<(std::ostream& out, const Piece& piece) {
    return out << "{" << piece.Start << ", \"" << piece.Text << "\", " << piece.PauseMs << "}";
}

std::vector<Piece> Split(std::string_view text, bool tagged = true) {
    std::vector<Piece> pieces;
    for (const TextPiece& piece : SpeechText::Split(text, tagged))
        pieces.push_back(Piece{piece.Start, piece.Text, piece.PauseMs});
    return pieces;
}

TEST(SpeechTextTest, PauseTagsCutTheText) {
    EXPECT_EQ(Split("One. \\Pau=1000\\ Two."),
              (std::vector<Piece>{{0, "One. ", 0}, {5, "", 1000}, {15, " Two.", 0}}));
    EXPECT_EQ(Split("\\pau=0500\\\\PAU=20\\Go"),
              (std::vector<Piece>{{0, "", 500}, {10, "", 20}, {18, "Go", 0}}));
    // Pieces of blanks alone and zero pauses are left out.
    EXPECT_EQ(Split("A \\Pau=0\\  \\Pau=5\\ "), (std::vector<Piece>{{0, "A ", 0}, {11, "", 5}}));
    EXPECT_EQ(Split("   "), std::vector<Piece>{});
    EXPECT_EQ(Split("\\Pau=999999999\\")[0].PauseMs, SpeechText::kMaxPauseMs);
}

TEST(SpeechTextTest, AnythingElseIsPlainText) {
    for (const char* text :
         {"\\Pau=\\ x", "\\Pau=12 x", "\\Pau=-5\\ x", "\\Pau = 5\\ x", "\\Pau=1234567890\\ x",
          "\\Spd=400\\ x", "<break time=\"1s\"/> x", "\\Pau=10"})
        EXPECT_EQ(Split(text), (std::vector<Piece>{{0, text, 0}})) << text;
    EXPECT_EQ(Split("One \\Pau=3000\\ two.", false),
              (std::vector<Piece>{{0, "One \\Pau=3000\\ two.", 0}}));
}

TEST(SpeechTextTest, WordReportsBecomeOnePerWordInOrder) {
    const std::string text = "It is 35 degrees at 6:42.  Done";
    WordFilter filter(text);
    std::vector<size_t> accepted;
    // As eSpeak reports them: numbers give extra reports inside the number, one report lands
    // on a blank, one goes back.
    for (size_t position : {0, 3, 6, 7, 7, 9, 17, 20, 21, 23, 25, 17, 27, 40})
        if (auto start = filter.Accept(position))
            accepted.push_back(*start);
    EXPECT_EQ(accepted, (std::vector<size_t>{0, 3, 6, 9, 17, 20, 27}));
}

TEST(SpeechTextTest, Latin1AndUtf8ConvertBothWays) {
    const std::string latin1 = "Caf\xe9 \xb0"
                               "C \xff";
    EXPECT_EQ(TextEncoding::Latin1ToUtf8(latin1), "Caf\xc3\xa9 \xc2\xb0"
                                                  "C \xc3\xbf");
    EXPECT_EQ(TextEncoding::Utf8ToLatin1(TextEncoding::Latin1ToUtf8(latin1)), latin1);
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

// Real voices' identifiers and the locale's effect are checked in TTSModesTest; these are the
// fallbacks no installed voice needs yet.
TEST(SpeechTextTest, LanguageTagsFallBackToTheirLanguage) {
    EXPECT_EQ(LanguageMap::LanguageIDForTag("de_AT"), 0xC07);
    EXPECT_EQ(LanguageMap::LanguageIDForTag("de-lu"), 0x407);
    EXPECT_EQ(LanguageMap::LanguageIDForTag("cmn-latn-pinyin"), 0x804);
    EXPECT_EQ(LanguageMap::RegionOf("chr-US-Qaaa-x-west"), "us");
    EXPECT_EQ(LanguageMap::RegionOf("vi-vn-x-central"), "vn");
    ScopedLocale none(nullptr);
    ScopedEnv messages("LC_MESSAGES", "fr_CH@euro");
    EXPECT_EQ(LanguageMap::UserLanguageTag(), "fr-ch");
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
