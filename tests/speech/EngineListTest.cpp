// The recognised engines: which modes make an engine and how it is named, engines shared by
// several modes of the real speech component, vendors, copies, and the "ENG_" settings kept in
// a settings file of a temporary folder.

#include "settings/SettingsFixture.h"
#include "settings/TBaseRegistryClass.h"
#include "speech/LanguageNames.h"
#include "speech/TEngineList.h"
#include "speech/TTTS.h"
#include "speech/support/SpeechTestSupport.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

// Mode records as the old engines report them; those engines cannot run here.
TTSModeInfo Mode(std::string mfg, std::string product, int32_t languageId) {
    TTSModeInfo mode;
    mode.MfgName = std::move(mfg);
    mode.ProductName = std::move(product);
    mode.LanguageID = languageId;
    mode.EngineID = TGUID::FromName(mode.MfgName + mode.ProductName);
    return mode;
}

struct Recognised {
    TTSModeInfo Mode;
    const char* Name;
    const char* Vendor;
    const char* Language;
    const char* IdPrefix;
};

TEST(EngineRecord, EveryRowOfTheTableNamesItsEngine) {
    const Recognised rows[] = {
        {Mode("Microsoft", "Microsoft Speech", 0x407), "Microsoft", "Microsoft", "US English",
         "Msft"},
        {Mode("Lernout && Hauspie Speech Products", "TruVoice", 0x809), "L & H TruVoice",
         "Lernout & Hauspie", "US English", "Lrn1"},
        {Mode("Lernout & Hauspie", "TTS3000", 0x407), "L & H - German", "Lernout & Hauspie",
         "German", "Lrn2"},
        {Mode("Eloquent Technology, Inc.", "ETI-Eloquence", 0x40C), "Eloquent - French",
         "Eloquent Technology, Inc.", "French", "Eloq"},
        {Mode("ELAN Informatique", "Speech Cube", 0x409), "Digalo - US English", "Digalo",
         "US English", "Diga"},
        {Mode("eSpeak NG", "eSpeak NG", 0x809), "eSpeak NG - UK English", "eSpeak NG", "UK English",
         "Espk"},
        {Mode("CMU Flite", "CMU Flite", 0x409), "Flite - US English", "CMU Flite", "US English",
         "Flit"},
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
    EXPECT_EQ(LanguageNames::NameOf(0x409), "US English");
    EXPECT_EQ(LanguageNames::NameOf(0x809), "UK English");
    EXPECT_EQ(LanguageNames::NameOf(0xC09), "US English");  // Australian: the primary entry
    EXPECT_EQ(LanguageNames::NameOf(0x2409), "US English"); // Caribbean
    EXPECT_EQ(LanguageNames::NameOf(0x80C), "French");
    EXPECT_EQ(LanguageNames::NameOf(0x480A), "Spanish [Hondurus]");
    EXPECT_EQ(LanguageNames::NameOf(0x40B), "Finish");
    EXPECT_EQ(LanguageNames::NameOf(0), "");
    EXPECT_EQ(LanguageNames::NameOf(0x47F), "");
    // Languages of their own that share a primary identifier with another.
    EXPECT_EQ(LanguageNames::NameOf(0x141A), "Bosnian");
    EXPECT_EQ(LanguageNames::NameOf(0xC1A), "Serbian");
    EXPECT_EQ(LanguageNames::NameOf(0x41A), "Croatian");
}

TEST(LanguageNamesTest, EveryLanguageOfTheInstalledEnginesWithAnIdentifierHasAName) {
    for (const std::string& modeName : TTTS::ModeNames()) {
        TTTS tts;
        tts.SelectMode(TTTS::FindModeID(modeName));
        const TTSModeInfo mode = tts.ModeInfo();
        if (mode.LanguageID != 0) {
            EXPECT_FALSE(LanguageNames::NameOf(mode.LanguageID).empty()) << modeName;
        }
    }
}

class EngineListTest : public test::SettingsFixture {
protected:
    EngineListTest() : settings(store) { settings.SetApplicationName("Olvenar\\BaseTTS"); }

    TBaseEngineClass* AddMode(const std::string& modeName) {
        TTTS tts;
        tts.SelectMode(TTTS::FindModeID(modeName));
        return engines.FindOrAdd(tts);
    }

    void AddSomeEngines() {
        engines.FindOrAdd(Mode("eSpeak NG", "eSpeak NG", 0x409));
        engines.FindOrAdd(Mode("eSpeak NG", "eSpeak NG", 0x407));
        engines.FindOrAdd(Mode("CMU Flite", "CMU Flite", 0x409));
        engines.FindOrAdd(Mode("Microsoft", "Microsoft Speech", 0x409));
    }

    TEngineList engines;
    TBaseRegistryClass settings;
};

TEST_F(EngineListTest, ModesOfOneEngineAndLanguageShareOneRecord) {
    TBaseEngineClass* america = AddMode(test::EspeakUsMode());
    TBaseEngineClass* newYork = AddMode("eSpeak NG English (America, New York City)");
    TBaseEngineClass* britain = AddMode("eSpeak NG English (Great Britain)");
    TBaseEngineClass* kal = AddMode(test::FliteMode("kal"));
    TBaseEngineClass* slt = AddMode(test::FliteMode("slt"));
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
    const TTSModeInfo crystal = Mode("AT&T Corp.", "AT&T Natural Voices", 0x409);
    TBaseEngineClass* first = engines.FindOrAdd(crystal);
    EXPECT_EQ(engines.FindOrAdd(crystal), first);
    EXPECT_EQ(engines.FindOrAdd(Mode("Acme Speech", "Acme", 0x409)), nullptr);
    EXPECT_EQ(engines.FindOrAdd(Mode("espeak ng", "eSpeak NG", 0x409)), nullptr);
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
    vendors.FindOrAdd(Mode("CMU Flite", "CMU Flite", 0x409));
    engines.MergeVendors(vendors);
    ASSERT_EQ(vendors.Count(), 3u);
    EXPECT_EQ(vendors[0].Vendor, "CMU Flite");
    EXPECT_EQ(vendors[1].Name, "eSpeak NG - US English");
    EXPECT_EQ(vendors[2].Vendor, "Microsoft");
    vendors[1].Enabled = false; // a copy
    EXPECT_TRUE(engines[0].Enabled);
}

TEST_F(EngineListTest, EnabledFlagsSurviveARestart) {
    AddSomeEngines();
    engines.RegisterSettings(settings);
    settings.LoadAll();
    engines.LoadSettings(settings);
    EXPECT_TRUE(engines[0].Enabled); // the default
    engines.DisableVendor("eSpeak NG");
    engines.SaveSettings(settings);
    ASSERT_TRUE(settings.SaveAll());

    RegistryStore reopened(StoreFile());
    TBaseRegistryClass later(reopened);
    later.SetApplicationName("Olvenar\\BaseTTS");
    TEngineList restarted;
    engines.CopyTo(restarted);
    restarted.EnableVendor("eSpeak NG");
    restarted.RegisterSettings(later);
    later.LoadAll();
    restarted.LoadSettings(later);
    EXPECT_FALSE(restarted[0].Enabled);
    EXPECT_FALSE(restarted[1].Enabled);
    EXPECT_TRUE(restarted[2].Enabled);
    std::string stored;
    EXPECT_TRUE(reopened.ReadString("Software\\HalvernWorks\\Olvenar\\BaseTTS",
                                    "ENG_eSpeak NG - German", stored));
    EXPECT_EQ(stored, "false");
    EXPECT_TRUE(messages.empty());
}

TEST_F(EngineListTest, EnginesSharingANameShareOneSetting) {
    // America and the Caribbean both count as "US English".
    engines.FindOrAdd(Mode("eSpeak NG", "eSpeak NG", 0x409));
    engines.FindOrAdd(Mode("eSpeak NG", "eSpeak NG", 0x2409));
    ASSERT_EQ(engines.Count(), 2u);
    ASSERT_EQ(engines[0].Name, engines[1].Name);
    engines.RegisterSettings(settings);
    engines.RegisterSettings(settings); // a second initialisation declares nothing more
    EXPECT_EQ(settings.Items().size(), 1u);
    settings.LoadAll();
    engines.DisableVendor("eSpeak NG");
    engines.SaveSettings(settings);
    ASSERT_TRUE(settings.SaveAll());
    EXPECT_NE(StoreText().find("ENG_eSpeak NG - US English=false"), std::string::npos);
}

} // namespace
} // namespace olv
