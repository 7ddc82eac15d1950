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
constexpr const char* kAmerica = "English (America)";

// The voice list with its engines and settings, enumerated and loaded as the speech controller
// does; a second one on the same settings file is the list after a restart.
struct Voices {
    explicit Voices(RegistryStore& store) : settings(store) {
        settings.SetApplicationName(kAppName);
    }
    void EnumerateAndLoad() {
        TVoiceEnumerator::Enumerate(voices, engines, settings);
        TVoiceList::RegisterUserVoices(settings);
        settings.LoadAll();
        voices.LoadSettings(settings);
    }
    TBaseVoiceClass& operator[](std::string_view name) {
        TBaseVoiceClass* voice = voices.FindByName(name);
        if (voice == nullptr)
            throw std::runtime_error("no voice " + std::string(name));
        return *voice;
    }
    // A voice of engine with the given name, enabled.
    TBaseVoiceClass& Add(TBaseEngineClass* engine, const std::string& name) {
        auto voice = std::make_unique<TBaseVoiceClass>();
        voice->Engine = engine;
        voice->Name = voice->VoiceID = name;
        voice->SetEnabled(true);
        return voices.Add(std::move(voice));
    }
    TBaseRegistryClass settings;
    TEngineList engines;
    TVoiceList voices;
};

class VoiceListTest : public SettingsFixture {
protected:
    ScopedLocale locale{"en_US.UTF-8"};
    Voices list{store};
    TVoiceList& voices = list.voices;
};

TEST_F(VoiceListTest, EnumerationNamesEveryVoiceEnablesTheEnglishOnesAndPutsTheUsersFirst) {
    list.EnumerateAndLoad();
    ASSERT_GT(voices.Count(), 100u);
    EXPECT_EQ(voices[0].Name, kAmerica);
    EXPECT_EQ(voices[0].VoiceID, "EspkEnglish (America)1033");
    EXPECT_EQ(voices[0].Engine->Name, "eSpeak NG - US English");
    EXPECT_EQ(list["Flite Kal"].VoiceID, "FlitFlite Kal1033");
    EXPECT_EQ(list["English (Great Britain) (UK English)"].Speaker, "English (Great Britain)");
    EXPECT_EQ(list["German (German)"].VoiceID, "EspkGerman1031");
    EXPECT_EQ(list["Esperanto"].Engine->Language, ""); // no empty brackets in its name
    // Unique identifiers; only the English voices of the open engines start enabled.
    std::set<std::string> ids;
    size_t enabled = 0;
    for (size_t i = 0; i < voices.Count(); ++i) {
        EXPECT_TRUE(ids.insert(voices.IDAt(i)).second) << voices[i].Name;
        const bool english = (voices[i].Engine->LanguageID & 0xFF) == 0x09;
        EXPECT_EQ(voices[i].Enabled(), english) << voices[i].Name;
        enabled += english;
    }
    EXPECT_EQ(enabled, 13u); // eight eSpeak NG English voices and five Flite voices
    EXPECT_TRUE(messages.empty());
    // The engine's defaults replace the stored "engine default" on first use.
    TBaseVoiceClass& america = list[kAmerica];
    EXPECT_EQ(std::vector<int>({america.Pitch(), america.Speed(), america.VolumeLeft()}),
              std::vector<int>({0, 0, -1}));
    america.LoadDefaultValues();
    EXPECT_EQ(std::vector<int>({america.Pitch(), america.Speed(), america.VolumeRight()}),
              std::vector<int>({TTTS::kDefaultPitch, TTTS::kDefaultSpeed, TTTS::kDefaultVolume}));
}

// Per-voice settings and user-defined voices, which borrow their base voice; a user voice of
// an engine that is not there is dropped.
TEST_F(VoiceListTest, VoiceSettingsAndUserVoicesSurviveARestart) {
    list.EnumerateAndLoad();
    TBaseVoiceClass& german = list["German (German)"];
    german.SetEnabled(true);
    german.SetValueByName("Speed", 200);
    german.SetValueByName("Volume", 30000);
    list[kAmerica].LoadDefaultValues();
    const size_t engineVoices = voices.Count();
    const std::vector<std::string> lines = {
        "Weather Girl|English (America)|EspkEnglish (America)1033|True|60|200",
        "Ghost|Nobody|MsftNobody1033|True|50|150",
        "Slow Kal|Flite Kal|FlitFlite Kal1033|False|40|90",
    };
    voices.LoadUserVoices(lines);
    ASSERT_EQ(voices.Count(), engineVoices + 2);
    const TBaseVoiceClass& girl = voices[engineVoices];
    EXPECT_EQ(girl.VoiceID, "User-0");
    EXPECT_EQ(girl.ModeID, list[kAmerica].ModeID);
    EXPECT_EQ(std::vector<int>({girl.Pitch(), girl.Speed(), girl.MaxPitch}),
              std::vector<int>({60, 200, list[kAmerica].MaxPitch}));
    EXPECT_EQ(voices[engineVoices + 1].VoiceID, "User-2");
    // Vendors and round robin pass user voices by.
    voices.DisableVendor("eSpeak NG");
    voices.DisableVendor("CMU Flite");
    EXPECT_TRUE(girl.Enabled());
    EXPECT_EQ(voices.NextVoiceForLanguage("US English"), nullptr);
    voices.SaveSettings(list.settings);
    voices.SaveUserVoices(list.settings.GetList(TVoiceList::kUserVoicesSetting));
    ASSERT_TRUE(list.settings.SaveAll());
    EXPECT_NE(StoreText().find("VCE_EspkGerman1031=0,200,0,30000"), std::string::npos);

    RegistryStore reopened(StoreFile());
    Voices later(reopened);
    later.EnumerateAndLoad();
    EXPECT_EQ(later["German (German)"].Speed(), 200);
    EXPECT_FALSE(later[kAmerica].Enabled());
    const auto& stored = later.settings.GetList(TVoiceList::kUserVoicesSetting);
    EXPECT_EQ(stored, (std::vector<std::string>{lines[0], lines[2]}));
    later.voices.LoadUserVoices(stored);
    EXPECT_EQ(later.voices.FindByID("User-1")->Name, "Slow Kal");
}

// Stored values that are not numbers, and values outside a voice's limits (a maximum of -1
// means none; the volume is checked against both channels, the right one only while it has any).
TEST_F(VoiceListTest, ValuesThatAreNoNumbersOrOutsideTheLimitsAreRefused) {
    store.WriteString("Software\\HalvernWorks\\Olvenar\\BaseTTS", "VCE_EspkEnglish (America)1033",
                      "1,fast,0,-1");
    TVoiceEnumerator::Enumerate(voices, list.engines, list.settings);
    list.settings.LoadAll();
    EXPECT_THROW(voices.LoadSettings(list.settings), EConvertError);
    EXPECT_TRUE(voices[0].Enabled()); // unchanged by the refused value
    const size_t engineVoices = voices.Count();
    EXPECT_THROW(voices.LoadUserVoices({"Fast|Kal|FlitFlite Kal1033|True|high|90"}), EConvertError);
    EXPECT_EQ(voices.Count(), engineVoices);

    TBaseVoiceClass voice;
    EXPECT_THROW(voice.ApplySettingText("1,0,0"), EConvertError);
    voice.MinPitch = 1, voice.MaxPitch = 100;
    voice.MinSpeed = 80, voice.MaxSpeed = -1;
    voice.MinVolumeLeft = 1, voice.MaxVolumeLeft = 100;
    voice.MinVolumeRight = 5, voice.MaxVolumeRight = 80;
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { voice.SetPitch(0); }, "Minimum pitch for this voice is 1"},
        {[&] { voice.SetPitch(101); }, "Maximum pitch for this voice is 100"},
        {[&] { voice.SetSpeed(79); }, "Minimum Speed for this voice is 80"},
        {[&] { voice.SetSpeed(5000); }, "(no error)"},
        {[&] { voice.SetVolume(3); }, "Minimum Volume for this voice is 5"},
        {[&] { voice.SetVolume(120); }, "Maximum Volume for this voice is 100"},
        {[&] { voice.SetVolume(90); }, "Maximum Volume for this voice is 80"},
        {[&] { voice.MaxVolumeRight = 0, voice.SetVolume(90); }, "(no error)"},
    };
    for (const auto& [call, refusal] : cases)
        EXPECT_EQ(ErrorOf<EVoiceException>(call), refusal);
    EXPECT_EQ(std::vector<int>({voice.Speed(), voice.VolumeLeft()}), std::vector<int>({5000, 90}));
}

// Round robin cycles through the enabled voices of one language (a cursor per list); random
// choice picks among the enabled voices, of the list as it is now.
TEST_F(VoiceListTest, RoundRobinAndRandomChooseOnlyEnabledVoices) {
    TBaseEngineClass* us = list.engines.FindOrAdd(ModeRecord("eSpeak NG", "eSpeak NG", 0x409, ""));
    TBaseEngineClass* uk = list.engines.FindOrAdd(ModeRecord("eSpeak NG", "eSpeak NG", 0x809, ""));
    list.Add(us, "A");
    list.Add(uk, "B");
    list.Add(us, "C").SetEnabled(false);
    list.Add(us, "D");
    list.Add(nullptr, "User").BaseVoiceID = "A";
    std::string chosen;
    for (int i = 0; i < 5; ++i)
        chosen += voices.NextVoiceForLanguage("US English")->Name;
    EXPECT_EQ(chosen, "ADADA");
    EXPECT_EQ(voices.NextVoiceForLanguage("UK English")->Name, "B");
    EXPECT_EQ(voices.NextVoiceForLanguage("German"), nullptr);

    voices.SeedRandom(7);
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(voices.RandomVoice()->Name);
    EXPECT_EQ(seen, (std::set<std::string>{"A", "B", "D", "User"}));
    TVoiceList target;
    voices.CopyTo(target); // the target chooses once among voices about to be replaced
    ASSERT_NE(target.RandomVoice(), nullptr);
    voices.Clear();
    list.Add(us, "New");
    voices.CopyTo(target);
    EXPECT_EQ(target.RandomVoice(), &target[0]);
    voices.DisableVendor("eSpeak NG");
    EXPECT_EQ(voices.RandomVoice(), nullptr);
}

} // namespace
} // namespace olv::test
