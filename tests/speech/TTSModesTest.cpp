// The modes of the speech component: every eSpeak NG and Flite voice, their records and
// language identifiers, the user's language first, and choosing a mode.

#include "speech/ESpeechError.h"
#include "speech/TTTS.h"
#include "speech/support/ScopedEnv.h"
#include "speech/support/SpeechTestSupport.h"
#include "support/ManualTimer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <set>

namespace olv::test {
namespace {

TTSModeInfo InfoOf(const std::string& modeName) {
    TTTS tts;
    tts.SelectMode(TTTS::FindModeID(modeName));
    return tts.ModeInfo();
}

TEST(TTSModesTest, EveryVoiceOfBothEnginesIsAModeOfItsOwn) {
    auto names = TTTS::ModeNames();
    std::set<std::string> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), names.size());
    EXPECT_GT(names.size(), 100u); // eSpeak NG alone has over a hundred
    for (const char* key : {"kal", "kal16", "slt", "rms", "awb"})
        EXPECT_EQ(unique.count(FliteMode(key)), 1u) << key;
    EXPECT_EQ(unique.count(EspeakUsMode()), 1u);
}

TEST(TTSModesTest, ModeRecordsNameTheEngineSpeakerAndLanguage) {
    struct Expected {
        const char* Mode;
        const char* Manufacturer;
        int32_t LanguageID;
        const char* Speaker;
    };
    const Expected cases[] = {
        {"eSpeak NG English (America)", "eSpeak NG", 0x409, "English (America)"},
        {"eSpeak NG English (Great Britain)", "eSpeak NG", 0x809, "English (Great Britain)"},
        {"eSpeak NG English (Scotland)", "eSpeak NG", 0x809, "English (Scotland)"},
        {"eSpeak NG German", "eSpeak NG", 0x407, "German"},
        {"eSpeak NG Spanish (Latin America)", "eSpeak NG", 0x80A, "Spanish (Latin America)"},
        {"eSpeak NG Portuguese (Brazil)", "eSpeak NG", 0x416, "Portuguese (Brazil)"},
        {"eSpeak NG Norwegian Bokm\xe5l", "eSpeak NG", 0x414, "Norwegian Bokm\xe5l"},
        {"eSpeak NG Esperanto", "eSpeak NG", 0, "Esperanto"},
        {"CMU Flite slt", "CMU Flite", 0x409, "Flite Slt"},
        {"CMU Flite kal", "CMU Flite", 0x409, "Flite Kal"},
    };
    for (const Expected& expected : cases) {
        SCOPED_TRACE(expected.Mode);
        TTSModeInfo info = InfoOf(expected.Mode);
        EXPECT_EQ(info.ModeName, expected.Mode);
        EXPECT_EQ(info.MfgName, expected.Manufacturer);
        EXPECT_EQ(info.ProductName, expected.Manufacturer);
        EXPECT_EQ(info.LanguageID, expected.LanguageID);
        EXPECT_EQ(info.Speaker, expected.Speaker);
        EXPECT_EQ(info.ModeID, TTTS::FindModeID(expected.Mode));
    }
    EXPECT_EQ(InfoOf(FliteMode("slt")).EngineID, InfoOf(FliteMode("awb")).EngineID);
    EXPECT_NE(InfoOf(FliteMode("slt")).EngineID, InfoOf(EspeakUsMode()).EngineID);
    EXPECT_NE(InfoOf(FliteMode("slt")).ModeID, InfoOf(FliteMode("awb")).ModeID);
}

TEST(TTSModesTest, TheUsersLanguageComesFirst) {
    struct Expected {
        const char* Locale;
        const char* FirstMode;
    };
    const Expected cases[] = {
        {nullptr, "eSpeak NG English (America)"},
        {"C", "eSpeak NG English (America)"},
        {"en_US.UTF-8", "eSpeak NG English (America)"},
        {"en_GB.UTF-8", "eSpeak NG English (Great Britain)"},
        {"en_AU.UTF-8", "eSpeak NG English (Great Britain)"},
        {"de_DE.UTF-8", "eSpeak NG German"},
        {"fr_CA.UTF-8", "eSpeak NG French (France)"},
        {"pt_BR", "eSpeak NG Portuguese (Brazil)"},
    };
    for (const Expected& expected : cases) {
        SCOPED_TRACE(expected.Locale ? expected.Locale : "(none)");
        ScopedLocale locale(expected.Locale);
        EXPECT_EQ(TTTS::ModeNames().front(), expected.FirstMode);
    }
    ScopedLocale english("en_US.UTF-8");
    auto names = TTTS::ModeNames();
    // All US English voices, of both engines, before any other.
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(InfoOf(names[i]).LanguageID, 0x409) << names[i];
}

TEST(TTSModesTest, UnknownModesAreRefused) {
    try {
        TTTS::FindModeID("No Such Voice");
        FAIL();
    } catch (const ESpeechError& error) {
        EXPECT_STREQ(error.what(), "The value assigned to the ModeName property is invalid");
    }
    TTTS tts;
    EXPECT_THROW(tts.SelectMode(TGUID{}), ESpeechError);
    EXPECT_THROW(tts.SetModeName("eSpeak NG"), ESpeechError);
    EXPECT_TRUE(tts.ModeName().empty());
}

TEST(TTSModesTest, TheModeCannotChangeWhileActiveAndTheFirstIsTheDefault) {
    ManualClock clock;
    TempDir dir;
    ScopedLocale locale("de_DE.UTF-8");
    TTTS tts;
    tts.SetOutputDest(TOutputDest::odFile);
    tts.SetOutputFile(dir.File("a.wav"));
    tts.SetActive(true);
    EXPECT_EQ(tts.ModeName(), "eSpeak NG German");
    try {
        tts.SetModeName(EspeakUsMode());
        FAIL();
    } catch (const ESpeechError& error) {
        EXPECT_STREQ(error.what(),
                     "The Active property must be FALSE before you can set the ModeID property");
    }
    EXPECT_EQ(tts.ModeName(), "eSpeak NG German");
}

} // namespace
} // namespace olv::test
