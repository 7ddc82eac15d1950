// The voice list over the real engines (eSpeak NG and Flite): enumeration order and naming,
// voices enabled by default, the "VCE_" and "UDV" settings kept in a settings file of a
// temporary folder, engine defaults, round robin and random choice, copies.

#include "settings/SettingsFixture.h"
#include "settings/TBaseRegistryClass.h"
#include "speech/EVoiceException.h"
#include "speech/TEngineList.h"
#include "speech/TTTS.h"
#include "speech/TVoiceEnumerator.h"
#include "speech/TVoiceList.h"
#include "speech/support/ScopedEnv.h"
#include "speech/support/SpeechTestSupport.h"
#include "util/EConvertError.h"

#include <gtest/gtest.h>
#include <set>

namespace olv::test {
namespace {

constexpr const char* kAppName = "Olvenar\\BaseTTS";
constexpr const char* kAppKey = "Software\\HalvernWorks\\Olvenar\\BaseTTS";
constexpr const char* kAmerica = "English (America)";
constexpr const char* kAmericaID = "EspkEnglish (America)1033";
constexpr const char* kKalID = "FlitFlite Kal1033";
constexpr auto Refusal = &ErrorOf<EVoiceException>;

std::vector<std::string> Names(const std::vector<TBaseVoiceClass*>& voices) {
    std::vector<std::string> names;
    for (const TBaseVoiceClass* voice : voices)
        names.push_back(voice ? voice->Name : "(none)");
    return names;
}

// Enumerates the installed voices and loads their settings, as the speech controller does.
void EnumerateAndLoad(TVoiceList& voices, TEngineList& engines, TBaseRegistryClass& settings) {
    TVoiceEnumerator::Enumerate(voices, engines, settings);
    TVoiceList::RegisterUserVoices(settings);
    settings.LoadAll();
    voices.LoadSettings(settings);
}

// The voices of a settings object reopened from the same file, as after a restart.
struct Restarted {
    explicit Restarted(const std::string& storeFile) : store(storeFile), settings(store) {
        settings.SetApplicationName(kAppName);
        EnumerateAndLoad(voices, engines, settings);
    }
    RegistryStore store;
    TBaseRegistryClass settings;
    TEngineList engines;
    TVoiceList voices;
};

class VoiceListTest : public SettingsFixture {
protected:
    VoiceListTest() : settings(store) { settings.SetApplicationName(kAppName); }

    void EnumerateAndLoad() { test::EnumerateAndLoad(voices, engines, settings); }

    TBaseVoiceClass& Voice(std::string_view name) {
        TBaseVoiceClass* voice = voices.FindByName(name);
        if (voice == nullptr)
            throw std::runtime_error("no voice " + std::string(name));
        return *voice;
    }

    // A voice of engine with the given name, enabled.
    TBaseVoiceClass& AddVoice(TBaseEngineClass* engine, const std::string& name) {
        auto voice = std::make_unique<TBaseVoiceClass>();
        voice->Engine = engine;
        voice->Name = name;
        voice->VoiceID = name;
        voice->SetEnabled(true);
        return voices.Add(std::move(voice));
    }

    ScopedLocale locale{"en_US.UTF-8"};
    TBaseRegistryClass settings;
    TEngineList engines;
    TVoiceList voices;
};

// ---- enumeration ---------------------------------------------------------------------------

TEST_F(VoiceListTest, EnumerationNamesEveryVoiceEnablesTheEnglishOnesAndPutsTheUsersFirst) {
    EnumerateAndLoad();
    ASSERT_GT(voices.Count(), 100u);
    EXPECT_EQ(voices[0].Name, kAmerica);
    EXPECT_EQ(voices[0].VoiceID, kAmericaID);
    EXPECT_EQ(voices[0].Engine->Name, "eSpeak NG - US English");
    EXPECT_EQ(voices[0].ModeID, TTTS::FindModeID("eSpeak NG English (America)"));
    EXPECT_EQ(Voice("Flite Kal").VoiceID, kKalID);
    EXPECT_EQ(Voice("Flite Slt").Engine->Name, "Flite - US English");
    EXPECT_EQ(Voice("English (Great Britain) (UK English)").Speaker, "English (Great Britain)");
    EXPECT_EQ(Voice("German (German)").VoiceID, "EspkGerman1031");
    // A language without an identifier adds no empty brackets.
    EXPECT_EQ(Voice("Esperanto").Engine->Language, "");

    EXPECT_EQ(voices.FindByID(kKalID), &Voice("Flite Kal"));
    EXPECT_EQ(voices.FindByID("EspkNobody1033"), nullptr);
    EXPECT_TRUE(messages.empty());

    // Unique identifiers; only the English voices of the open engines start enabled.
    std::set<std::string> ids;
    size_t enabled = 0;
    for (size_t i = 0; i < voices.Count(); ++i) {
        SCOPED_TRACE(voices[i].Name);
        EXPECT_TRUE(ids.insert(voices.IDAt(i)).second);
        const bool english = (voices[i].Engine->LanguageID & 0xFF) == 0x09;
        EXPECT_EQ(voices[i].Enabled(), english);
        enabled += english;
    }
    EXPECT_EQ(enabled, 13u); // eight eSpeak NG English voices and five Flite voices
}

TEST_F(VoiceListTest, OldEnginesKeepTheirNamingAndDefaults) {
    auto add = [&](const TTSModeInfo& mode) {
        return TVoiceEnumerator::AddMode(mode, voices, engines, settings);
    };
    TBaseVoiceClass* mary = add(ModeRecord("Microsoft", "MS TTS", 0x409, "Mary"));
    TBaseVoiceClass* stadium = add(ModeRecord("Microsoft", "MS TTS", 0x409, "Mary in Stadium"));
    TBaseVoiceClass* carol =
        add(ModeRecord("Lernout && Hauspie Speech Products", "TruVoice", 0x409, "Carol", "Carol"));
    TBaseVoiceClass* anna = add(ModeRecord("Lernout & Hauspie", "TTS3000", 0x407, "Anna", "Anna"));
    TBaseVoiceClass* rachel = add(ModeRecord("ELAN Informatique", "Digalo", 0x409, "R", "Rachel"));
    TBaseVoiceClass* crystal =
        add(ModeRecord("AT&T Corp.", "AT&T Natural Voices", 0x409, "Crystal", "crystal"));
    ASSERT_TRUE(mary && stadium && carol && anna && rachel && crystal);

    EXPECT_EQ(mary->Name, "Mary");
    EXPECT_EQ(mary->Speaker, "Mary");
    EXPECT_EQ(mary->VoiceID, "MsftMary1033");
    EXPECT_TRUE(mary->Enabled());
    EXPECT_FALSE(stadium->Enabled());
    EXPECT_FALSE(carol->Enabled());
    EXPECT_EQ(anna->Name, "Anna (German)");
    EXPECT_TRUE(anna->Enabled());
    EXPECT_EQ(rachel->Name, "Digalo Rachel");
    EXPECT_EQ(crystal->Name, "AT&T Crystal");
    EXPECT_EQ(crystal->VoiceID, "ATTNVcrystal1033");
    EXPECT_EQ(crystal->Engine->Name, "AT&T Natural Voices");
    EXPECT_EQ(crystal->Engine->MfgName, "AT&T Labs");
    EXPECT_FALSE(crystal->Engine->PitchAdjustable);

    const size_t engineCount = engines.Count();
    EXPECT_EQ(add(ModeRecord("Microsoft", "MS TTS", 0x409, "Mike for Telephone")), nullptr);
    EXPECT_EQ(add(ModeRecord("Acme", "Acme TTS", 0x409, "Mike")), nullptr);
    EXPECT_EQ(voices.Count(), 6u);
    EXPECT_EQ(engines.Count(), engineCount);

    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("VCE_MsftMary1033").AsString(), "1,0,0,-1");
    EXPECT_EQ(settings.GetValue("VCE_MsftMary in Stadium1033").AsString(), "0,0,0,-1");
}

// ---- per-voice settings --------------------------------------------------------------------

TEST_F(VoiceListTest, VoiceSettingsSurviveARestart) {
    EnumerateAndLoad();
    TBaseVoiceClass& german = Voice("German (German)");
    german.SetEnabled(true);
    german.SetValueByName("Speed", 200);
    german.SetValueByName("Pitch", 60);
    german.SetValueByName("Volume", 30000);
    Voice(kAmerica).SetEnabled(false);
    voices.SaveSettings(settings);
    ASSERT_TRUE(settings.SaveAll());

    Restarted later(StoreFile());
    const TBaseVoiceClass* again = later.voices.FindByName("German (German)");
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->Enabled());
    EXPECT_EQ(again->Speed(), 200);
    EXPECT_EQ(again->Pitch(), 60);
    EXPECT_EQ(again->VolumeLeft(), 30000);
    EXPECT_FALSE(later.voices.FindByName(kAmerica)->Enabled());
    EXPECT_TRUE(later.voices.FindByName("Flite Kal")->Enabled());
    std::string stored;
    EXPECT_TRUE(later.store.ReadString(kAppKey, "VCE_EspkGerman1031", stored));
    EXPECT_EQ(stored, "1,200,60,30000");
    EXPECT_TRUE(later.store.ReadString("Software\\HalvernWorks", "VCE_EspkGerman1031", stored));
}

TEST_F(VoiceListTest, StoredValuesAndUserVoiceLinesThatAreNotNumbersAreRefused) {
    store.WriteString(kAppKey, std::string("VCE_") + kAmericaID, "1,fast,0,-1");
    TVoiceEnumerator::Enumerate(voices, engines, settings);
    settings.LoadAll();
    EXPECT_THROW(voices.LoadSettings(settings), EConvertError);
    EXPECT_TRUE(voices[0].Enabled()); // unchanged by the refused value

    TBaseVoiceClass voice;
    EXPECT_THROW(voice.ApplySettingText("1,0,0"), EConvertError);
    voice.ApplySettingText("0,200,60,-1,9");
    EXPECT_EQ(voice.SettingText(), "0,200,60,-1");

    const size_t engineVoices = voices.Count();
    EXPECT_THROW(voices.LoadUserVoices({"Fast|Kal|FlitFlite Kal1033|True|high|90"}), EConvertError);
    EXPECT_EQ(voices.Count(), engineVoices);
}

TEST_F(VoiceListTest, EngineDefaultsReplaceTheStoredDefaultsOnFirstUse) {
    EnumerateAndLoad();
    TBaseVoiceClass& america = Voice(kAmerica);
    EXPECT_EQ(america.Pitch(), 0);
    EXPECT_EQ(america.Speed(), 0);
    EXPECT_EQ(america.VolumeLeft(), -1);
    america.LoadDefaultValues();
    EXPECT_EQ(america.Pitch(), TTTS::kDefaultPitch);
    EXPECT_EQ(america.Speed(), TTTS::kDefaultSpeed);
    EXPECT_EQ(america.VolumeLeft(), TTTS::kDefaultVolume);
    EXPECT_EQ(america.VolumeRight(), TTTS::kDefaultVolume);
    EXPECT_EQ(america.MinPitch, TTTS::kMinPitch);
    EXPECT_EQ(america.MaxSpeed, TTTS::kMaxSpeed);
    EXPECT_EQ(america.MaxVolume(), TTTS::kMaxVolume);

    america.SetPitch(70);
    america.LoadDefaultValues(); // limits known: nothing to do
    EXPECT_EQ(america.Pitch(), 70);
    america.SetSpeed(300);
    america.ResetToDefaults();
    EXPECT_EQ(america.Pitch(), TTTS::kDefaultPitch);
    EXPECT_EQ(america.Speed(), TTTS::kDefaultSpeed);
}

// ---- range-checked setters -----------------------------------------------------------------

TEST(VoiceLimits, PitchAndSpeedOutsideTheirLimitsAreRefused) {
    TBaseVoiceClass voice;
    voice.MinPitch = 1, voice.MaxPitch = 100;
    voice.MinSpeed = 80, voice.MaxSpeed = -1; // no known maximum
    voice.SetPitch(50);
    EXPECT_EQ(Refusal([&] { voice.SetPitch(0); }), "Minimum pitch for this voice is 1");
    EXPECT_EQ(Refusal([&] { voice.SetPitch(101); }), "Maximum pitch for this voice is 100");
    EXPECT_EQ(voice.Pitch(), 50);
    EXPECT_EQ(Refusal([&] { voice.SetSpeed(79); }), "Minimum Speed for this voice is 80");
    EXPECT_EQ(Refusal([&] { voice.SetSpeed(5000); }), "(no error)");
    voice.MaxSpeed = 450;
    EXPECT_EQ(Refusal([&] { voice.SetSpeed(451); }), "Maximum Speed for this voice is 450");
    EXPECT_EQ(voice.Speed(), 5000);
}

TEST(VoiceLimits, VolumeIsCheckedAgainstBothChannels) {
    TBaseVoiceClass voice;
    voice.MinVolumeLeft = 1, voice.MaxVolumeLeft = 100;
    voice.MinVolumeRight = 5, voice.MaxVolumeRight = 80;
    EXPECT_EQ(voice.MinVolume(), 5);
    EXPECT_EQ(voice.MaxVolume(), 80);
    EXPECT_EQ(Refusal([&] { voice.SetVolume(3); }), "Minimum Volume for this voice is 5");
    EXPECT_EQ(Refusal([&] { voice.SetVolume(120); }), "Maximum Volume for this voice is 100");
    EXPECT_EQ(Refusal([&] { voice.SetVolume(90); }), "Maximum Volume for this voice is 80");
    voice.SetVolume(60);
    EXPECT_EQ(voice.VolumeRight(), 60);

    voice.MaxVolumeRight = 0; // no right channel
    EXPECT_EQ(voice.MaxVolume(), 100);
    voice.SetVolume(90);
    EXPECT_EQ(voice.VolumeLeft(), 90);
    EXPECT_EQ(voice.VolumeRight(), 60);
    voice.MaxVolumeLeft = 0;
    EXPECT_EQ(voice.MaxVolume(), 0);
}

// ---- round robin and random choice ---------------------------------------------------------

TEST_F(VoiceListTest, RoundRobinCyclesThroughTheEnabledVoicesOfTheLanguage) {
    TBaseEngineClass* us = engines.FindOrAdd(ModeRecord("eSpeak NG", "eSpeak NG", 0x409, ""));
    TBaseEngineClass* uk = engines.FindOrAdd(ModeRecord("eSpeak NG", "eSpeak NG", 0x809, ""));
    AddVoice(us, "A");
    AddVoice(uk, "B");
    AddVoice(us, "C").SetEnabled(false);
    AddVoice(us, "D");
    AddVoice(nullptr, "User").BaseVoiceID = "A";
    AddVoice(us, "E");
    std::vector<TBaseVoiceClass*> chosen;
    for (int i = 0; i < 7; ++i)
        chosen.push_back(voices.NextVoiceForLanguage("US English"));
    EXPECT_EQ(Names(chosen), (std::vector<std::string>{"A", "D", "E", "A", "D", "E", "A"}));
    EXPECT_EQ(voices.Cursor(), 0);
    EXPECT_EQ(voices.NextVoiceForLanguage("UK English")->Name, "B");
    EXPECT_EQ(voices.NextVoiceForLanguage("US English")->Name, "D");

    EXPECT_EQ(voices.NextVoiceForLanguage("German"), nullptr);
    voices.DisableVendor("eSpeak NG");
    EXPECT_EQ(voices.NextVoiceForLanguage("US English"), nullptr);
    voices.Clear();
    EXPECT_EQ(voices.NextVoiceForLanguage("US English"), nullptr);
}

TEST_F(VoiceListTest, RoundRobinOverTheInstalledVoices) {
    EnumerateAndLoad();
    std::set<std::string> seen;
    TBaseVoiceClass* first = voices.NextVoiceForLanguage("US English");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Name, kAmerica);
    for (TBaseVoiceClass* voice = voices.NextVoiceForLanguage("US English"); voice != first;
         voice = voices.NextVoiceForLanguage("US English")) {
        ASSERT_TRUE(voice->Enabled());
        ASSERT_TRUE(seen.insert(voice->Name).second) << voice->Name << " came twice";
    }
    EXPECT_TRUE(seen.count("Flite Awb"));
    EXPECT_TRUE(seen.count("English (Caribbean)")); // its language counts as US English
    EXPECT_FALSE(seen.count("English (Great Britain) (UK English)"));
}

TEST_F(VoiceListTest, RandomVoiceChoosesOnlyAmongTheVoicesEnabledNow) {
    TBaseEngineClass* us = engines.FindOrAdd(ModeRecord("CMU Flite", "CMU Flite", 0x409, ""));
    for (const char* name : {"A", "B", "C", "D"})
        AddVoice(us, name);
    voices[1].SetEnabled(false);
    voices.SeedRandom(7);
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(voices.RandomVoice()->Name);
    EXPECT_EQ(seen, (std::set<std::string>{"A", "C", "D"}));

    voices[0].SetEnabled(false);
    voices[3].SetEnabled(false);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(voices.RandomVoice()->Name, "C");
    voices.DisableVendor("CMU Flite");
    EXPECT_EQ(voices.RandomVoice(), nullptr);

    // A list replaced by a copy chooses among its new voices only.
    voices.EnableVendor("CMU Flite");
    TVoiceList target;
    voices.CopyTo(target); // the target chooses once among voices about to be replaced
    ASSERT_NE(target.RandomVoice(), nullptr);
    voices.Clear();
    AddVoice(us, "New");
    voices.CopyTo(target);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(target.RandomVoice(), &target[0]);
}

// ---- user-defined voices -------------------------------------------------------------------

TEST_F(VoiceListTest, UserVoicesBorrowTheirBaseVoiceAndSurviveARestart) {
    EnumerateAndLoad();
    TBaseVoiceClass& america = Voice(kAmerica);
    america.LoadDefaultValues();
    const size_t engineVoices = voices.Count();
    const std::vector<std::string> lines = {
        "Weather Girl|English (America)|EspkEnglish (America)1033|True|60|200",
        "Ghost|Nobody|MsftNobody1033|True|50|150",
        "Slow Kal|Flite Kal|FlitFlite Kal1033|False|40|90",
    };
    settings.GetList(TVoiceList::kUserVoicesSetting) = lines;
    voices.LoadUserVoices(settings.GetList(TVoiceList::kUserVoicesSetting));
    EXPECT_EQ(voices.UserVoiceLineCount(), 3u);
    ASSERT_EQ(voices.Count(), engineVoices + 2);

    const TBaseVoiceClass& girl = voices[engineVoices];
    EXPECT_EQ(girl.Name, "Weather Girl");
    EXPECT_EQ(girl.VoiceID, "User-0");
    EXPECT_EQ(girl.ModeID, america.ModeID);
    EXPECT_EQ(girl.Engine, nullptr);
    EXPECT_TRUE(girl.Enabled());
    EXPECT_EQ(girl.Pitch(), 60);
    EXPECT_EQ(girl.Speed(), 200);
    EXPECT_EQ(girl.MaxPitch, america.MaxPitch);
    EXPECT_EQ(girl.DefaultSpeed, america.DefaultSpeed);
    EXPECT_EQ(voices[engineVoices + 1].VoiceID, "User-2");
    EXPECT_FALSE(voices[engineVoices + 1].Enabled());

    // Vendors, round robin and the per-voice settings pass user voices by.
    voices.DisableVendor("eSpeak NG");
    voices.DisableVendor("CMU Flite");
    EXPECT_TRUE(girl.Enabled());
    EXPECT_EQ(voices.NextVoiceForLanguage("US English"), nullptr);
    voices.SaveSettings(settings);
    voices.SaveUserVoices(settings.GetList(TVoiceList::kUserVoicesSetting));
    ASSERT_TRUE(settings.SaveAll());
    EXPECT_TRUE(messages.empty());

    Restarted later(StoreFile());
    const auto& stored = later.settings.GetList(TVoiceList::kUserVoicesSetting);
    EXPECT_EQ(stored, (std::vector<std::string>{lines[0], lines[2]})); // the ghost is gone
    later.voices.LoadUserVoices(stored);
    EXPECT_EQ(later.voices.FindByID("User-1")->Name, "Slow Kal");
}

// ---- copies --------------------------------------------------------------------------------

TEST_F(VoiceListTest, CopiesOfBothListsAreLinkedAndIndependent) {
    EnumerateAndLoad();
    TBaseVoiceClass& america = Voice(kAmerica);
    america.LoadDefaultValues();
    america.SetValueByName("Pitch", 0); // "engine default" below a known minimum
    Voice("German (German)").SetValueByName("Volume", 30000); // limits not known yet
    voices.LoadUserVoices({"Weather Girl|English (America)|EspkEnglish (America)1033|True|60|0"});

    TEngineList engineCopy;
    TVoiceList voiceCopy;
    engines.CopyTo(engineCopy);
    voices.CopyTo(voiceCopy);
    voiceCopy.RelinkEngines(engines, engineCopy);
    ASSERT_EQ(voiceCopy.Count(), voices.Count());
    for (size_t i = 0; i < voices.Count(); ++i) {
        EXPECT_EQ(voiceCopy[i].SettingText(), voices[i].SettingText()) << voices[i].Name;
        EXPECT_EQ(voiceCopy[i].Name, voices[i].Name);
        EXPECT_EQ(voiceCopy[i].ModeID, voices[i].ModeID);
        const int engine = engines.IndexOf(voices[i].Engine);
        EXPECT_EQ(engineCopy.IndexOf(voiceCopy[i].Engine), engine);
    }
    EXPECT_EQ(voiceCopy[0].MaxSpeed, america.MaxSpeed);

    voiceCopy.DisableVendor("eSpeak NG");
    engineCopy.DisableVendor("eSpeak NG");
    EXPECT_TRUE(america.Enabled());
    EXPECT_TRUE(engines.VendorEnabled("eSpeak NG"));

    // And back, as a dialog hands its copies over.
    engineCopy.CopyTo(engines);
    voiceCopy.CopyTo(voices);
    voices.RelinkEngines(engineCopy, engines);
    EXPECT_FALSE(voices[0].Enabled());
    EXPECT_EQ(engines.IndexOf(voices[0].Engine), 0);
    EXPECT_FALSE(voices.VendorEnabled("eSpeak NG"));
    EXPECT_TRUE(voices.VendorEnabled("CMU Flite"));
}

} // namespace
} // namespace olv::test
