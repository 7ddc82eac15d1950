#include "speech/LanguageNames.h"

namespace olv {
namespace {

struct LanguageName {
    int32_t Id;
    const char* Name;
};

// The spellings are kept as users' stored settings know them ("Finish", "Hondurus").
constexpr LanguageName kNames[] = {
    {0x401, "Arabic"},
    {0x402, "Bulgarian"},
    {0x403, "Catalan"},
    {0x404, "Chinese"},
    {0x405, "Czech"},
    {0x406, "Danish"},
    {0x407, "German"},
    {0x408, "Greek"},
    {0x409, "US English"},
    {0x40A, "Spanish"},
    {0x40B, "Finish"},
    {0x40C, "French"},
    {0x40D, "Hebrew"},
    {0x40E, "Hungarian"},
    {0x40F, "Icelandic"},
    {0x410, "Italian"},
    {0x411, "Japanese"},
    {0x412, "Korean"},
    {0x413, "Dutch"},
    {0x414, "Norwegian"},
    {0x415, "Polish"},
    {0x416, "Portuguese [Brazilian]"},
    {0x418, "Romanian"},
    {0x419, "Russian"},
    {0x41A, "Croatian"},
    {0x41B, "Slovak"},
    {0x41C, "Albanian"},
    {0x41D, "Swedish"},
    {0x41E, "Thai"},
    {0x809, "UK English"},
    {0x80A, "Spanish [Mexican]"},
    {0x816, "Portuguese"},
    {0xC0A, "Spanish [Modern]"},
    {0x100A, "Spanish [Guatemala]"},
    {0x140A, "Spanish [Costa Rica]"},
    {0x180A, "Spanish [Panama]"},
    {0x1C0A, "Spanish [Domican Republic]"},
    {0x200A, "Spanish [Venezuela]"},
    {0x240A, "Spanish [Columbia]"},
    {0x280A, "Spanish [Peru]"},
    {0x2C0A, "Spanish [Argentina]"},
    {0x300A, "Spanish [Ecuador]"},
    {0x340A, "Spanish [Chile]"},
    {0x380A, "Spanish [Uruguay]"},
    {0x3C0A, "Spanish [Paraguay]"},
    {0x400A, "Spanish [Bolivia]"},
    {0x440A, "Spanish [El Salvador]"},
    {0x480A, "Spanish [Hondurus]"},
    {0x4C0A, "Spanish [Nicaragua]"},
    {0x500A, "Spanish [Puerto Rico]"},
    // The further languages that eSpeak NG speaks. Without them a hundred voices would share
    // one nameless engine, and Bosnian and Serbian would pass for Croatian.
    {0x41F, "Turkish"},
    {0x420, "Urdu"},
    {0x421, "Indonesian"},
    {0x422, "Ukrainian"},
    {0x423, "Belarusian"},
    {0x424, "Slovenian"},
    {0x425, "Estonian"},
    {0x426, "Latvian"},
    {0x427, "Lithuanian"},
    {0x429, "Persian"},
    {0x42A, "Vietnamese"},
    {0x42B, "Armenian"},
    {0x42C, "Azerbaijani"},
    {0x42D, "Basque"},
    {0x42F, "Macedonian"},
    {0x432, "Setswana"},
    {0x436, "Afrikaans"},
    {0x437, "Georgian"},
    {0x439, "Hindi"},
    {0x43A, "Maltese"},
    {0x43B, "Sami"},
    {0x43E, "Malay"},
    {0x43F, "Kazakh"},
    {0x440, "Kyrgyz"},
    {0x441, "Swahili"},
    {0x442, "Turkmen"},
    {0x443, "Uzbek"},
    {0x444, "Tatar"},
    {0x445, "Bengali"},
    {0x446, "Punjabi"},
    {0x447, "Gujarati"},
    {0x448, "Oriya"},
    {0x449, "Tamil"},
    {0x44A, "Telugu"},
    {0x44B, "Kannada"},
    {0x44C, "Malayalam"},
    {0x44D, "Assamese"},
    {0x44E, "Marathi"},
    {0x452, "Welsh"},
    {0x455, "Burmese"},
    {0x457, "Konkani"},
    {0x459, "Sindhi"},
    {0x45B, "Sinhala"},
    {0x45C, "Cherokee"},
    {0x45E, "Amharic"},
    {0x461, "Nepali"},
    {0x46B, "Quechua"},
    {0x46D, "Bashkir"},
    {0x46E, "Luxembourgish"},
    {0x46F, "Greenlandic"},
    {0x472, "Oromo"},
    {0x474, "Guarani"},
    {0x475, "Hawaiian"},
    {0x476, "Latin"},
    {0x480, "Uyghur"},
    {0x481, "Maori"},
    {0x486, "K'iche'"},
    {0x491, "Scottish Gaelic"},
    {0x492, "Kurdish"},
    {0x83C, "Irish"},
    {0xC1A, "Serbian"},
    {0x141A, "Bosnian"},
};

const char* Lookup(int32_t languageId) {
    for (const LanguageName& entry : kNames)
        if (entry.Id == languageId)
            return entry.Name;
    return nullptr;
}

} // namespace

std::string LanguageNames::NameOf(int32_t languageId) {
    const char* name = Lookup(languageId);
    if (name == nullptr)
        name = Lookup((languageId & 0xFF) + 0x400);
    return name ? name : "";
}

} // namespace olv
