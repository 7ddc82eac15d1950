#include "speech/TBaseEngineClass.h"

#include "speech/LanguageNames.h"
#include "speech/TTTS.h"
#include "util/Strings.h"

namespace olv {
namespace {

enum class Naming { Fixed, WithLanguage, Product };

struct RecognisedEngine {
    bool ByProduct; // match is a part of the product name, else the whole manufacturer
    const char* Match;
    Naming NameForm;
    const char* Name; // the name, or its start before the language
    const char* Vendor;
    const char* FixedLanguage; // null: the mode's language
    const char* IdPrefix;
};

constexpr RecognisedEngine kEngines[] = {
    {false, "Microsoft", Naming::Fixed, "Microsoft", "Microsoft", "US English", "Msft"},
    {false, "Lernout && Hauspie Speech Products", Naming::Fixed, "L & H TruVoice",
     "Lernout & Hauspie", "US English", "Lrn1"},
    {false, "Lernout & Hauspie", Naming::WithLanguage, "L & H - ", "Lernout & Hauspie", nullptr,
     "Lrn2"},
    {false, "Eloquent Technology, Inc.", Naming::WithLanguage, "Eloquent - ",
     "Eloquent Technology, Inc.", nullptr, "Eloq"},
    {false, "ELAN Informatique", Naming::WithLanguage, "Digalo - ", "Digalo", nullptr, "Diga"},
    {true, "Natural Voices", Naming::Product, "", "AT&T Natural Voices", nullptr, "ATTNV"},
    {false, "eSpeak NG", Naming::WithLanguage, "eSpeak NG - ", "eSpeak NG", nullptr, "Espk"},
    {false, "CMU Flite", Naming::WithLanguage, "Flite - ", "CMU Flite", nullptr, "Flit"},
};

const RecognisedEngine* Recognise(const TTSModeInfo& mode) {
    for (const RecognisedEngine& row : kEngines) {
        const bool matches =
            row.ByProduct ? Find(row.Match, mode.ProductName) > 0 : mode.MfgName == row.Match;
        if (matches)
            return &row;
    }
    return nullptr;
}

} // namespace

bool TBaseEngineClass::FromModeInfo(const TTTS& tts) {
    return FromModeInfo(tts.ModeInfo());
}

bool TBaseEngineClass::FromModeInfo(const TTSModeInfo& mode) {
    EngineID = mode.EngineID;
    MfgName = mode.MfgName;
    ProductName = mode.ProductName;
    LanguageID = mode.LanguageID;
    Enabled = true;
    PitchAdjustable = true;
    const RecognisedEngine* row = Recognise(mode);
    if (row == nullptr) {
        Name.clear();
        Vendor.clear();
        Language.clear();
        IdPrefix.clear();
        return false;
    }
    Language = row->FixedLanguage ? row->FixedLanguage : LanguageNames::NameOf(LanguageID);
    switch (row->NameForm) {
    case Naming::Fixed:
        Name = row->Name;
        break;
    case Naming::WithLanguage:
        Name = row->Name + Language;
        break;
    case Naming::Product:
        Name = ProductName;
        MfgName = kNaturalVoicesMfg;
        PitchAdjustable = false;
        break;
    }
    Vendor = row->Vendor;
    IdPrefix = row->IdPrefix;
    return !Vendor.empty();
}

bool TBaseEngineClass::IsOpenEngine() const {
    return MfgName == kEspeakMfg || MfgName == kFliteMfg;
}

} // namespace olv
