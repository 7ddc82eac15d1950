#pragma once

#include "speech/TTSModeInfo.h"

#include <string>

namespace olv {

class TBaseEngineClass;
class TBaseRegistryClass;
class TBaseVoiceClass;
class TEngineList;
class TVoiceList;

// Turns the installed speech modes into engines and voices: one voice per mode of a recognised
// engine (TBaseEngineClass), named for the user, with its "VCE_" setting declared. The modes
// come in the speech component's order, the user's language first.
//
// Naming: a Microsoft voice is named after its mode; a Digalo US English voice "Digalo " +
// speaker; an AT&T Natural Voices voice "AT&T " + speaker with a capital first letter; any
// other voice after its speaker. A language other than "US English" follows in brackets:
// "German (German)". VoiceID = engine IdPrefix + speaker + decimal language identifier
// ("EspkEnglish (America)1033").
//
// Enabled by default: Microsoft and L & H TruVoice voices only when named within
// "MaryMikeSamPeterSidneyEddie"; eSpeak NG and Flite voices only when they speak English (a
// fresh install would otherwise rotate through a hundred languages); all others.
class TVoiceEnumerator {
public:
    // Appends every mode's voice to voices (and its engine to engines, once), declaring
    // "VCE_" + VoiceID in settings with the default "1,0,0,-1" or "0,0,0,-1". Modes of engines
    // not recognised and modes whose name contains "Telephone" are skipped.
    static void Enumerate(TVoiceList& voices, TEngineList& engines, TBaseRegistryClass& settings);
    // The same for one mode; the voice added, or null when the mode was skipped.
    static TBaseVoiceClass* AddMode(const TTSModeInfo& mode, TVoiceList& voices,
                                    TEngineList& engines, TBaseRegistryClass& settings);

    static std::string VoiceName(const TBaseEngineClass& engine, const TTSModeInfo& mode);
    static bool EnabledByDefault(const TBaseEngineClass& engine, const std::string& voiceName);
};

} // namespace olv
