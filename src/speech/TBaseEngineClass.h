#pragma once

#include "speech/TGUID.h"
#include "speech/TTSModeInfo.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace olv {

class TTTS;

// One recognised speech engine in one language: the record that groups the voices (modes) an
// engine offers for that language, names them, and keeps whether the user allows the engine.
//
// Engines are recognised by the manufacturer the mode reports (exact comparison) or by its
// product name, in this order:
//   "Microsoft"                           Name "Microsoft"             IdPrefix "Msft"
//   "Lernout && Hauspie Speech Products"  "L & H TruVoice"             "Lrn1"
//   "Lernout & Hauspie"                   "L & H - " + language        "Lrn2"
//   "Eloquent Technology, Inc."           "Eloquent - " + language     "Eloq"
//   "ELAN Informatique"                   "Digalo - " + language       "Diga"
//   product containing "Natural Voices"   the product name             "ATTNV"
//   "eSpeak NG"                           "eSpeak NG - " + language    "Espk"
//   "CMU Flite"                           "Flite - " + language        "Flit"
// The first two speak "US English" whatever their language identifier says. A "Natural
// Voices" engine gets MfgName "AT&T Labs" and no pitch adjustment.
class TBaseEngineClass {
public:
    static constexpr std::string_view kNaturalVoicesMfg = "AT&T Labs";
    static constexpr std::string_view kEspeakMfg = "eSpeak NG";
    static constexpr std::string_view kFliteMfg = "CMU Flite";

    std::string Name;     // "eSpeak NG - German"; part of the "ENG_" setting name
    TGUID EngineID;       // the engine identifier of the mode it was built from
    std::string IdPrefix; // starts the VoiceID of each of its voices
    bool Enabled = true;  // the user allows this engine
    std::string Vendor;   // groups engines ("eSpeak NG", "Lernout & Hauspie")
    std::string MfgName;
    std::string ProductName;
    int32_t LanguageID = 0; // Windows language identifier
    std::string Language;   // "US English" (LanguageNames)
    bool PitchAdjustable = true;

    // Fills the record from the mode the component has selected. True when the engine is
    // recognised (Vendor is then set); otherwise the record holds the mode's data only.
    bool FromModeInfo(const TTTS& tts);
    bool FromModeInfo(const TTSModeInfo& mode);

    // Copies every field.
    void Assign(const TBaseEngineClass& other) { *this = other; }

    // "ENG_" + Name: the setting that keeps Enabled.
    std::string SettingName() const { return "ENG_" + Name; }
    // True for the modes of the engines this platform ships (eSpeak NG, Flite), which offer a
    // hundred languages between them.
    bool IsOpenEngine() const;
};

} // namespace olv
