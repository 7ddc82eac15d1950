// The modes of the speech component (every eSpeak NG and Flite voice, their records and
// language identifiers, the user's language first, choosing a mode) and the recognised
// engines made from them: which modes make an engine and how it is named, engines shared by
// several modes, vendors, copies, and the "ENG_" settings kept in a settings file of a
// temporary folder.

#include "settings/SettingsFixture.h"
#include "settings/TBaseRegistryClass.h"
#include "speech/ESpeechError.h"
#include "speech/LanguageNames.h"
#include "speech/TEngineList.h"
#include "speech/TTTS.h"
#include "speech/support/ScopedEnv.h"
#include "speech/support/SpeechTestSupport.h"
#include "support/ManualTimer.h"

#include <set>

namespace olv::test {
namespace {

TTSModeInfo InfoOf(const std::string& modeName) {
    TTTS tts;
    tts.SelectMode(TTTS::FindModeID(modeName));
    return tts.ModeInfo();
}

// ---- modes ---------------------------------------------------------------------------------

TEST(TTSModesTest, EveryVoiceOfBothEnginesIsAModeOfItsOwn) {
    auto names = TTTS::ModeNames();
    std::set<std::string> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), names.size());
    EXPECT_GT(names.size(), 100u); // eSpeak NG alone has over a hundred
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
    EXPECT_EQ(ErrorOf<ESpeechError>([] { TTTS::FindModeID("No Such Voice"); }),
              "The value assigned to the ModeName property is invalid");
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
    EXPECT_EQ(ErrorOf<ESpeechError>([&] { tts.SetModeName(EspeakUsMode()); }),
              "The Active property must be FALSE before you can set the ModeID property");
    EXPECT_EQ(tts.ModeName(), "eSpeak NG German");
}

// ---- engines -------------------------------------------------------------------------------

struct Recognised {
    TTSModeInfo Mode;
    const char* Name;
    const char* Vendor;
    const char* Language;
    const char* IdPrefix;
};

TEST(EngineRecord, EveryRowOfTheTableNamesItsEngine) {
    const Recognised rows[] = {
        {ModeRecord("Microsoft", "Microsoft Speech", 0x407), "Microsoft", "Microsoft", "US English",
         "Msft"},
        {ModeRecord("Lernout && Hauspie Speech Products", "TruVoice", 0x809), "L & H TruVoice",
         "Lernout & Hauspie", "US English", "Lrn1"},
        {ModeRecord("Lernout & Hauspie", "TTS3000", 0x407), "L & H - German", "Lernout & Hauspie",
         "German", "Lrn2"},
        {ModeRecord("Eloquent Technology, Inc.", "ETI-Eloquence", 0x40C), "Eloquent - French",
         "Eloquent Technology, Inc.", "French", "Eloq"},
        {ModeRecord("ELAN Informatique", "Speech Cube", 0x409), "Digalo - US English", "Digalo",
         "US English", "Diga"},
        {ModeRecord("eSpeak NG", "eSpeak NG", 0x809), "eSpeak NG - UK English", "eSpeak NG",
         "UK English", "Espk"},
        {ModeRecord("CMU Flite", "CMU Flite", 0x409), "Flite - US English", "CMU Flite",
         "US English", "Flit"},
    };
    for (const Recognised& row : rows) {
        SCOPED_TRACE(row.Mode.MfgName);
        TBaseEngineClass engine;
        ASSERT_TRUE(engine.FromModeInfo(row.Mode));
        EXPECT_EQ(engine.Name, row.Name);
        EXPECT_EQ(engine.Vendor, row.Vendor);
        EXPECT_EQ(engine.Language, row.Language);
        EXPECT_EQ(engine.IdPrefix, row.IdPrefix);
        EXPECT_EQ(engine.MfgName, row.Mode.MfgName);
        EXPECT_EQ(engine.EngineID, row.Mode.EngineID);
        EXPECT_TRUE(engine.Enabled);
        EXPECT_TRUE(engine.PitchAdjustable);
    }
}

TEST(LanguageNamesTest, ExactThenPrimaryLanguageThenNothing) {
    EXPECT_EQ(LanguageNames::NameOf(0x809), "UK English");
    EXPECT_EQ(LanguageNames::NameOf(0xC09), "US English"); // Australian: the primary entry
    EXPECT_EQ(LanguageNames::NameOf(0), "");
    EXPECT_EQ(LanguageNames::NameOf(0x47F), "");
    // Languages of their own that share a primary identifier with another.
    EXPECT_EQ(LanguageNames::NameOf(0x141A), "Bosnian");
    EXPECT_EQ(LanguageNames::NameOf(0xC1A), "Serbian");
    EXPECT_EQ(LanguageNames::NameOf(0x41A), "Croatian");
}

TEST(LanguageNamesTest, EveryLanguageOfTheInstalledEnginesWithAnIdentifierHasAName) {
    for (const std::string& modeName : TTTS::ModeNames()) {
        const int32_t language = InfoOf(modeName).LanguageID;
        EXPECT_TRUE(language == 0 || !LanguageNames::NameOf(language).empty()) << modeName;
    }
}

class EngineListTest : public SettingsFixture {
protected:
    EngineListTest() : settings(store) { settings.SetApplicationName("Olvenar\\BaseTTS"); }

    TBaseEngineClass* AddMode(const std::string& modeName) {
        return engines.FindOrAdd(InfoOf(modeName));
    }

    void AddSomeEngines() {
        engines.FindOrAdd(ModeRecord("eSpeak NG", "eSpeak NG", 0x409));
        engines.FindOrAdd(ModeRecord("eSpeak NG", "eSpeak NG", 0x407));
        engines.FindOrAdd(ModeRecord("CMU Flite", "CMU Flite", 0x409));
        engines.FindOrAdd(ModeRecord("Microsoft", "Microsoft Speech", 0x409));
    }

    TEngineList engines;
    TBaseRegistryClass settings;
};

TEST_F(EngineListTest, ModesOfOneEngineAndLanguageShareOneRecord) {
    TBaseEngineClass* america = AddMode(EspeakUsMode());
    TBaseEngineClass* newYork = AddMode("eSpeak NG English (America, New York City)");
    TBaseEngineClass* britain = AddMode("eSpeak NG English (Great Britain)");
    TBaseEngineClass* kal = AddMode(FliteMode("kal"));
    TBaseEngineClass* slt = AddMode(FliteMode("slt"));
    ASSERT_NE(america, nullptr);
    EXPECT_EQ(newYork, america);
    EXPECT_NE(britain, america);
    EXPECT_EQ(kal, slt);
    ASSERT_EQ(engines.Count(), 3u);
    EXPECT_EQ(engines[0].Name, "eSpeak NG - US English");
    EXPECT_EQ(engines[1].Name, "eSpeak NG - UK English");
    EXPECT_EQ(engines[2].Name, "Flite - US English");
    EXPECT_EQ(engines[2].Vendor, "CMU Flite");
}

TEST_F(EngineListTest, RenamedManufacturerIsFoundAgainAndUnknownEnginesAreNotAdded) {
    const TTSModeInfo crystal = ModeRecord("AT&T Corp.", "AT&T Natural Voices", 0x409);
    TBaseEngineClass* first = engines.FindOrAdd(crystal);
    EXPECT_EQ(engines.FindOrAdd(crystal), first);
    EXPECT_EQ(engines.FindOrAdd(ModeRecord("Acme Speech", "Acme", 0x409)), nullptr);
    EXPECT_EQ(engines.FindOrAdd(ModeRecord("espeak ng", "eSpeak NG", 0x409)), nullptr);
    EXPECT_EQ(engines.Count(), 1u);
    EXPECT_TRUE(engines.HasNaturalVoices());
}

TEST_F(EngineListTest, VendorsActTogetherAndMergeIntoOneCopyEach) {
    AddSomeEngines();
    engines.DisableVendor("eSpeak NG");
    EXPECT_FALSE(engines[0].Enabled || engines[1].Enabled);
    EXPECT_FALSE(engines.VendorEnabled("eSpeak NG"));
    EXPECT_TRUE(engines.VendorEnabled("CMU Flite"));
    engines[1].Enabled = true;
    EXPECT_TRUE(engines.VendorEnabled("eSpeak NG"));
    engines.EnableVendor("eSpeak NG");
    TEngineList vendors;
    vendors.FindOrAdd(ModeRecord("CMU Flite", "CMU Flite", 0x409));
    engines.MergeVendors(vendors);
    ASSERT_EQ(vendors.Count(), 3u);
    EXPECT_EQ(vendors[0].Vendor, "CMU Flite");
    EXPECT_EQ(vendors[1].Name, "eSpeak NG - US English");
    EXPECT_EQ(vendors[2].Vendor, "Microsoft");
    vendors[1].Enabled = false; // a copy
    EXPECT_TRUE(engines[0].Enabled);
}

TEST_F(EngineListTest, EnabledFlagsSurviveARestartOneSettingPerName) {
    AddSomeEngines();
    // America and the Caribbean both count as "US English": one setting for both.
    engines.FindOrAdd(ModeRecord("eSpeak NG", "eSpeak NG", 0x2409));
    ASSERT_EQ(engines[4].Name, engines[0].Name);
    engines.RegisterSettings(settings);
    engines.RegisterSettings(settings); // a second initialisation declares nothing more
    EXPECT_EQ(settings.Items().size(), 4u);
    settings.LoadAll();
    engines.LoadSettings(settings);
    EXPECT_TRUE(engines[0].Enabled); // the default
    engines.DisableVendor("eSpeak NG");
    engines.SaveSettings(settings);
    ASSERT_TRUE(settings.SaveAll());
    EXPECT_NE(StoreText().find("ENG_eSpeak NG - US English=false"), std::string::npos);

    RegistryStore reopened(StoreFile());
    std::string stored;
    EXPECT_TRUE(reopened.ReadString("Software\\HalvernWorks\\Olvenar\\BaseTTS",
                                    "ENG_eSpeak NG - German", stored));
    EXPECT_EQ(stored, "false");
    TBaseRegistryClass later(reopened);
    later.SetApplicationName("Olvenar\\BaseTTS");
    TEngineList restarted;
    engines.CopyTo(restarted);
    restarted.EnableVendor("eSpeak NG");
    restarted.RegisterSettings(later);
    later.LoadAll();
    restarted.LoadSettings(later);
    EXPECT_FALSE(restarted[0].Enabled || restarted[1].Enabled || restarted[4].Enabled);
    EXPECT_TRUE(restarted[2].Enabled);
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace olv::test
