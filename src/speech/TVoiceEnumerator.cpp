#include "speech/TVoiceEnumerator.h"

#include "settings/TBaseRegistryClass.h"
#include "speech/DeclareOnce.h"
#include "speech/TBaseEngineClass.h"
#include "speech/TBaseVoiceClass.h"
#include "speech/TEngineList.h"
#include "speech/TTSModes.h"
#include "speech/TTTS.h"
#include "speech/TVoiceList.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace olv {
namespace {

constexpr std::string_view kUsEnglish = "US English";
// The few voices of the old engines that speak well enough to be offered at first.
constexpr std::string_view kGoodOldVoices = "MaryMikeSamPeterSidneyEddie";
constexpr int32_t kPrimaryEnglish = 0x09;

bool IsMicrosoftOrTruVoice(const TBaseEngineClass& engine) {
    return engine.Name == "Microsoft" || engine.Name == "L & H TruVoice";
}

std::string Capitalised(const std::string& text) {
    return UpperCase(Substring(text, 1, 1)) + Substring(text, 2, kMax);
}

std::string SpeakerOf(const TBaseEngineClass& engine, const TTSModeInfo& mode) {
    return engine.Name == "Microsoft" ? mode.ModeName : mode.Speaker;
}

} // namespace

void TVoiceEnumerator::Enumerate(TVoiceList& voices, TEngineList& engines,
                                 TBaseRegistryClass& settings) {
    // The modes in enumeration order, each selected by its identifier: looking each one up
    // by name would enumerate them all again for every mode.
    TTTS tts;
    for (const TTSModes::Mode& mode : TTSModes::All()) {
        tts.SelectMode(mode.Voice->Info.ModeID);
        AddMode(tts.ModeInfo(), voices, engines, settings);
    }
}

TBaseVoiceClass* TVoiceEnumerator::AddMode(const TTSModeInfo& mode, TVoiceList& voices,
                                           TEngineList& engines, TBaseRegistryClass& settings) {
    TBaseEngineClass* engine = engines.FindOrAdd(mode);
    if (engine == nullptr || Find("Telephone", mode.ModeName) > 0)
        return nullptr;
    auto voice = std::make_unique<TBaseVoiceClass>();
    voice->Engine = engine;
    voice->Name = VoiceName(*engine, mode);
    voice->Speaker = SpeakerOf(*engine, mode);
    voice->VoiceID = engine->IdPrefix + voice->Speaker + Decimal(mode.LanguageID);
    voice->ModeID = mode.ModeID;
    const bool enabled = EnabledByDefault(*engine, voice->Name);
    voice->SetEnabled(enabled);
    DeclareOnce(settings, voice->SettingName(), RegScope::AppAndShared, RegType::String,
                TBaseVoiceClass::DefaultSettingText(enabled));
    Log("Loaded voice " + voice->Name);
    return &voices.Add(std::move(voice));
}

std::string TVoiceEnumerator::VoiceName(const TBaseEngineClass& engine, const TTSModeInfo& mode) {
    std::string name;
    if (engine.Name == "Microsoft")
        name = mode.ModeName;
    else if (engine.Name == "Digalo - US English")
        name = "Digalo " + mode.Speaker;
    else if (engine.MfgName != TBaseEngineClass::kNaturalVoicesMfg)
        name = mode.Speaker;
    else
        name = "AT&T " + Capitalised(mode.Speaker);
    // A language without a name adds nothing rather than empty brackets.
    if (engine.Language != kUsEnglish && !engine.Language.empty())
        name += " (" + engine.Language + ")";
    return name;
}

bool TVoiceEnumerator::EnabledByDefault(const TBaseEngineClass& engine,
                                        const std::string& voiceName) {
    if (IsMicrosoftOrTruVoice(engine))
        return Find(voiceName, kGoodOldVoices) > 0;
    if (engine.IsOpenEngine())
        return (engine.LanguageID & 0xFF) == kPrimaryEnglish;
    return true;
}

} // namespace olv
