// The modes of the speech component (every eSpeak NG and Flite voice, their records and
// language identifiers, the user's language first) and the recognised engines made from them:
// how an engine is named, engines shared by several modes, and the "ENG_" settings kept in a
// settings file of a temporary folder.

#include "settings/SettingsFixture.h"
#include "settings/TBaseRegistryClass.h"
#include "speech/ESpeechError.h"
#include "speech/LanguageNames.h"
#include "speech/TEngineList.h"
#include "speech/TTTS.h"
#include "speech/support/SpeechTestSupport.h"

namespace olv::test {
namespace {

TTSModeInfo InfoOf(const std::string& modeName) {
    TTTS tts;
    tts.SelectMode(TTTS::FindModeID(modeName));
    return tts.ModeInfo();
}

// The records the enumerated voices are named from are checked in VoiceListTest; here the
// identifiers, the refusals and the languages.
TEST(TTSModesTest, ModesShareTheirEnginesIdAndEveryLanguageHasAName) {
    EXPECT_EQ(InfoOf(FliteMode("slt")).EngineID, InfoOf(FliteMode("awb")).EngineID);
    EXPECT_NE(InfoOf(FliteMode("slt")).EngineID, InfoOf(EspeakUsMode()).EngineID);
    EXPECT_NE(InfoOf(FliteMode("slt")).ModeID, InfoOf(FliteMode("awb")).ModeID);
    EXPECT_EQ(InfoOf("eSpeak NG Portuguese (Brazil)").LanguageID, 1046);
    EXPECT_EQ(ErrorOf<ESpeechError>([] { TTTS::FindModeID("No Such Voice"); }),
              "The value assigned to the ModeName property is invalid");
    EXPECT_THROW(TTTS().SelectMode(TGUID{}), ESpeechError);
    for (const std::string& modeName : TTTS::ModeNames()) {
        const int32_t language = InfoOf(modeName).LanguageID;
        EXPECT_TRUE(language == 0 || !LanguageNames::NameOf(language).empty()) << modeName;
    }
    EXPECT_EQ(LanguageNames::NameOf(0xC09), "US English"); // Australian: the primary entry
    EXPECT_EQ(LanguageNames::NameOf(0x141A), "Bosnian");   // shares its primary with Croatian
    EXPECT_EQ(LanguageNames::NameOf(0x47F), "");
}

class EngineListTest : public SettingsFixture {
protected:
    EngineListTest() : settings(store) { settings.SetApplicationName("Olvenar\\BaseTTS"); }
    TBaseEngineClass* AddMode(const std::string& modeName) {
        return engines.FindOrAdd(InfoOf(modeName));
    }
    TEngineList engines;
    TBaseRegistryClass settings;
};

// Unknown engines are not added; a renamed manufacturer is found again.
TEST_F(EngineListTest, ModesOfOneEngineAndLanguageShareOneRecord) {
    TBaseEngineClass* america = AddMode(EspeakUsMode());
    EXPECT_EQ(AddMode("eSpeak NG English (America, New York City)"), america);
    EXPECT_NE(AddMode("eSpeak NG English (Great Britain)"), america);
    EXPECT_EQ(AddMode(FliteMode("kal")), AddMode(FliteMode("slt")));
    const TTSModeInfo crystal = ModeRecord("AT&T Corp.", "AT&T Natural Voices", 0x409);
    EXPECT_EQ(engines.FindOrAdd(crystal), engines.FindOrAdd(crystal));
    EXPECT_EQ(engines.FindOrAdd(ModeRecord("Acme Speech", "Acme", 0x409)), nullptr);
    EXPECT_EQ(engines.FindOrAdd(ModeRecord("espeak ng", "eSpeak NG", 0x409)), nullptr);
    std::string names;
    for (size_t i = 0; i < engines.Count(); ++i)
        names += engines[i].Name + ";";
    EXPECT_EQ(names, "eSpeak NG - US English;eSpeak NG - UK English;Flite - US English;AT&T "
                     "Natural Voices;");
    EXPECT_TRUE(engines.HasNaturalVoices());
}

// America and the Caribbean both count as "US English": one setting for both.
TEST_F(EngineListTest, EnabledFlagsSurviveARestartOneSettingPerName) {
    for (const int32_t language : {0x409, 0x407, 0x2409})
        engines.FindOrAdd(ModeRecord("eSpeak NG", "eSpeak NG", language));
    engines.FindOrAdd(ModeRecord("CMU Flite", "CMU Flite", 0x409));
    engines.RegisterSettings(settings);
    engines.RegisterSettings(settings); // a second initialisation declares nothing more
    EXPECT_EQ(settings.Items().size(), 3u);
    settings.LoadAll();
    engines.LoadSettings(settings);
    engines.DisableVendor("eSpeak NG");
    engines.SaveSettings(settings);
    ASSERT_TRUE(settings.SaveAll());
    EXPECT_NE(StoreText().find("ENG_eSpeak NG - US English=false"), std::string::npos);

    RegistryStore reopened(StoreFile());
    TBaseRegistryClass later(reopened);
    later.SetApplicationName("Olvenar\\BaseTTS");
    TEngineList restarted;
    engines.CopyTo(restarted);
    restarted.EnableVendor("eSpeak NG");
    restarted.RegisterSettings(later);
    later.LoadAll();
    restarted.LoadSettings(later);
    EXPECT_FALSE(restarted[0].Enabled || restarted[1].Enabled || restarted[2].Enabled);
    EXPECT_TRUE(restarted[3].Enabled);
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace olv::test
