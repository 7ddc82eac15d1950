#include "speech/LanguageMap.h"

#include "util/Strings.h"

#include <cctype>
#include <cstdlib>
#include <vector>

namespace olv {
namespace {

struct TagId {
    const char* Tag;
    int32_t Id;
};

// Windows language identifiers of the languages the engines speak. Languages that Windows
// never named (constructed and historical languages among them) are absent and give 0.
constexpr TagId kLanguageIds[] = {
    {"af", 0x436},      {"am", 0x45E},     {"ar", 0x401},     {"as", 0x44D},     {"az", 0x42C},
    {"ba", 0x46D},      {"be", 0x423},     {"bg", 0x402},     {"bn", 0x445},     {"bs", 0x141A},
    {"ca", 0x403},      {"chr", 0x45C},    {"cmn", 0x804},    {"zh", 0x804},     {"yue", 0xC04},
    {"cs", 0x405},      {"cy", 0x452},     {"da", 0x406},     {"de", 0x407},     {"de-at", 0xC07},
    {"de-ch", 0x807},   {"el", 0x408},     {"en", 0x809},     {"en-us", 0x409},  {"en-gb", 0x809},
    {"en-au", 0xC09},   {"en-ca", 0x1009}, {"en-nz", 0x1409}, {"en-ie", 0x1809}, {"en-za", 0x1C09},
    {"en-029", 0x2409}, {"es", 0x40A},     {"es-es", 0x40A},  {"es-419", 0x80A}, {"es-mx", 0x80A},
    {"es-gt", 0x100A},  {"es-cr", 0x140A}, {"es-pa", 0x180A}, {"es-do", 0x1C0A}, {"es-ve", 0x200A},
    {"es-co", 0x240A},  {"es-pe", 0x280A}, {"es-ar", 0x2C0A}, {"es-ec", 0x300A}, {"es-cl", 0x340A},
    {"es-uy", 0x380A},  {"es-py", 0x3C0A}, {"es-bo", 0x400A}, {"es-sv", 0x440A}, {"es-hn", 0x480A},
    {"es-ni", 0x4C0A},  {"es-pr", 0x500A}, {"et", 0x425},     {"eu", 0x42D},     {"fa", 0x429},
    {"fi", 0x40B},      {"fr", 0x40C},     {"fr-be", 0x80C},  {"fr-ca", 0xC0C},  {"fr-ch", 0x100C},
    {"ga", 0x83C},      {"gd", 0x491},     {"gn", 0x474},     {"gu", 0x447},     {"haw", 0x475},
    {"he", 0x40D},      {"hi", 0x439},     {"hr", 0x41A},     {"hbs", 0x41A},    {"hu", 0x40E},
    {"hy", 0x42B},      {"hyw", 0x42B},    {"id", 0x421},     {"is", 0x40F},     {"it", 0x410},
    {"ja", 0x411},      {"ka", 0x437},     {"kk", 0x43F},     {"kl", 0x46F},     {"kn", 0x44B},
    {"ko", 0x412},      {"kok", 0x457},    {"ku", 0x492},     {"ky", 0x440},     {"la", 0x476},
    {"lb", 0x46E},      {"lt", 0x427},     {"lv", 0x426},     {"mi", 0x481},     {"mk", 0x42F},
    {"ml", 0x44C},      {"mr", 0x44E},     {"ms", 0x43E},     {"mt", 0x43A},     {"my", 0x455},
    {"nb", 0x414},      {"no", 0x414},     {"nn", 0x814},     {"ne", 0x461},     {"nl", 0x413},
    {"nl-be", 0x813},   {"om", 0x472},     {"or", 0x448},     {"pa", 0x446},     {"pl", 0x415},
    {"pt", 0x816},      {"pt-pt", 0x816},  {"pt-br", 0x416},  {"qu", 0x46B},     {"quc", 0x486},
    {"ro", 0x418},      {"ru", 0x419},     {"sd", 0x859},     {"si", 0x45B},     {"sk", 0x41B},
    {"sl", 0x424},      {"smj", 0x143B},   {"sq", 0x41C},     {"sr", 0xC1A},     {"sv", 0x41D},
    {"sw", 0x441},      {"ta", 0x449},     {"te", 0x44A},     {"th", 0x41E},     {"tk", 0x442},
    {"tn", 0x432},      {"tr", 0x41F},     {"tt", 0x444},     {"ug", 0x480},     {"uk", 0x422},
    {"ur", 0x420},      {"uz", 0x443},     {"vi", 0x42A},
};

int32_t Lookup(std::string_view tag) {
    for (const auto& entry : kLanguageIds)
        if (tag == entry.Tag)
            return entry.Id;
    return -1;
}

std::vector<std::string> Subtags(std::string_view tag) {
    std::vector<std::string> parts(1);
    for (char c : tag) {
        if (c == '-' || c == '_')
            parts.emplace_back();
        else
            parts.back() += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return parts;
}

bool IsRegion(const std::string& subtag) {
    auto all = [&](int (*test)(int)) {
        for (unsigned char c : subtag)
            if (!test(c))
                return false;
        return true;
    };
    return (subtag.size() == 2 && all(std::isalpha)) || (subtag.size() == 3 && all(std::isdigit));
}

} // namespace

std::string LanguageMap::LanguageOf(std::string_view tag) {
    return Subtags(tag).front();
}

std::string LanguageMap::RegionOf(std::string_view tag) {
    auto parts = Subtags(tag);
    for (size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].size() == 1) // a private-use or extension part follows
            break;
        if (IsRegion(parts[i]))
            return parts[i];
    }
    return "";
}

int32_t LanguageMap::LanguageIDForTag(std::string_view tag) {
    std::string whole = LowerCase(tag);
    for (char& c : whole)
        if (c == '_')
            c = '-';
    std::string language = LanguageOf(whole);
    std::string region = RegionOf(whole);
    for (const std::string& candidate : {whole, language + "-" + region, language}) {
        int32_t id = Lookup(candidate);
        if (id >= 0)
            return id;
    }
    return 0;
}

std::string LanguageMap::UserLanguageTag() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        std::string locale(value);
        locale = locale.substr(0, locale.find_first_of(".@"));
        if (locale == "C" || locale == "POSIX" || locale.empty())
            break;
        std::string tag = LowerCase(locale);
        for (char& c : tag)
            if (c == '_')
                c = '-';
        return tag;
    }
    return "en-us";
}

} // namespace olv
