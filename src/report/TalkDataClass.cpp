#include "report/TalkDataClass.h"

#include "platform/Paths.h"
#include "report/IntroClass.h"
#include "scripts/GrabBaseClass.h"
#include "util/Strings.h"
#include "util/UtilsClass.h"
#include "weather/CityDataClass.h"
#include "weather/WeatherUtils.h"

#include <array>
#include <utility>

namespace olv {
namespace {

struct Option {
    const char* name;
    bool TalkDataClass::*flag;
};

// The values of a section, in the order they are written.
const Option kOptions[] = {
    {"ConditionsTime", &TalkDataClass::ReadConditionsTime},
    {"Temperature", &TalkDataClass::ReadTemperature},
    {"Humidity", &TalkDataClass::ReadHumidity},
    {"Dewpoint", &TalkDataClass::ReadDewpoint},
    {"Wind", &TalkDataClass::ReadWind},
    {"Pressure", &TalkDataClass::ReadPressure},
    {"Conditions", &TalkDataClass::ReadConditions},
    {"Visibility", &TalkDataClass::ReadVisibility},
    {"ForecastTime", &TalkDataClass::ReadForecastTime},
    {"Forecast", &TalkDataClass::ReadForecast},
    {"CurrentTime", &TalkDataClass::ReadCurrentTime},
};

// The two options that are off unless a section switches them on.
bool IsOffByDefault(bool TalkDataClass::*flag) {
    return flag == &TalkDataClass::ReadForecastTime || flag == &TalkDataClass::ReadForecast;
}

// Spoken direction names; the three-letter ones go first so that "NNW" is not read as
// "N" + "North West". Single letters stay as they are.
const std::array<std::pair<std::string_view, std::string_view>, 15> kWindWords{{
    {"Wind", "Wend"},
    {"wind", "wend"},
    {"NNW", "North North West"},
    {"WNW", "West North West"},
    {"WSW", "West South West"},
    {"SSW", "South South West"},
    {"SSE", "South South East"},
    {"ESE", "East South East"},
    {"ENE", "East North East"},
    {"NNE", "North North East"},
    {"km/h", "kilometers per hour"},
    {"NE", "North East"},
    {"SE", "South East"},
    {"SW", "South West"},
    {"NW", "North West"},
}};

std::string SectionPath(std::string_view section) {
    return "/" + std::string(section);
}

bool HasOptions(GrabBaseClass& store, std::string_view section) {
    return !store.GetValue(SectionPath(section), "Temperature").empty();
}

std::string SpokenTime(const std::string& time) {
    return WeatherUtils::ExpandTimeZones(time);
}

// What the reports say for a value the service left out, rather than leaving a gap in the
// sentence or inventing a number ("-10 degrees", "0 hectopascals").
const std::string kUnknown = "Unknown";

bool IsNumber(std::string_view text) {
    double value = 0;
    return WeatherUtils::ReadNumber(text, value);
}

// A time the service did not give is left out of the sentence.
bool IsKnownTime(const std::string& time) {
    return !time.empty() && time != kUnknown && time != "N/A";
}

} // namespace

std::string TalkDataClass::FilePath() const {
    return ProgramFolder() + kFileName;
}

void TalkDataClass::Load(std::string_view cityKey, std::string_view itemName, uint8_t mode) {
    GrabBaseClass store;
    std::string message;
    store.LoadFromFile(FilePath(), message);
    LoadMode = mode;
    std::string_view section = kDefaultSection;
    switch (mode) {
    case CityMode:
        SectionName = cityKey;
        section = HasOptions(store, cityKey) ? cityKey : kDefaultSection;
        break;
    case AutoItemMode:
        SectionName = itemName;
        section = HasOptions(store, itemName)  ? itemName
                  : HasOptions(store, cityKey) ? cityKey
                                               : kDefaultSection;
        break;
    case SummaryMode:
        SectionName = itemName;
        section = HasOptions(store, itemName) ? itemName : kDefaultSection;
        break;
    default:
        LoadMode = DefaultMode;
        SectionName = kDefaultSection;
        break;
    }
    ReadSection(store, std::string(section));
}

// Only an exact "N" switches an option off and only an exact "Y" switches one of the
// forecast options on; anything else keeps what was there.
void TalkDataClass::ReadSection(GrabBaseClass& store, const std::string& section) {
    const std::string path = SectionPath(section);
    for (const Option& option : kOptions) {
        const std::string value = store.GetValue(path, option.name);
        const bool switchOn = IsOffByDefault(option.flag);
        if (value == (switchOn ? "Y" : "N"))
            this->*option.flag = switchOn;
    }
}

void TalkDataClass::Save() const {
    const std::string section = SectionName.empty() ? kDefaultSection : SectionName;
    GrabBaseClass store;
    std::string message;
    store.LoadFromFile(FilePath(), message);
    store.AddKey("/", section);
    for (const Option& option : kOptions)
        store.SetValue(SectionPath(section), option.name, this->*option.flag ? "Y" : "N");
    store.SaveToFile(FilePath(), message);
}

bool TalkDataClass::AnyValueOn() const {
    return ReadTemperature || ReadHumidity || ReadDewpoint || ReadWind || ReadPressure ||
           ReadConditions || ReadVisibility;
}

std::string TalkDataClass::OpeningLine(const CityDataClass& city, const IntroClass& intro) const {
    std::string text = intro.ConditionsIntro + " " + city.GetDisplayName();
    if (ReadConditionsTime && IsKnownTime(city.ConditionsTime))
        text += " at " + SpokenTime(city.ConditionsTime);
    return text + ".  ";
}

std::string TalkDataClass::WindPhrase(const CityDataClass& city, const IntroClass& intro,
                                      bool useMetric) {
    std::string speed = WeatherUtils::WindSpeed(city.Wind);
    if (useMetric)
        speed = WeatherUtils::ConvertVisibility(speed);
    std::string text = intro.Wind + " " + WeatherUtils::FirstWord(city.Wind) + " at " + speed +
                       (useMetric ? " kilometers per hour" : " miles per hour");
    if (city.Wind == "Calm")
        text = "Wends are Calm";
    else if (city.Wind == "Varied")
        text = "Wends are Varied";
    else if (WeatherUtils::FirstWord(city.Wind).empty()) // no direction and speed to read
        text = "Wends are " + kUnknown;
    text += ".  ";
    for (const auto& [word, spoken] : kWindWords)
        text = UtilsClass::ReplaceAll(text, word, spoken);
    return text;
}

std::string TalkDataClass::Phrases(const CityDataClass& city, const IntroClass& intro,
                                   bool useMetric) const {
    std::string text;
    if (ReadTemperature)
        text += intro.Temperature + " " +
                (city.HasTemperature() ? city.GetTemperatureText(useMetric) : kUnknown) +
                " degrees.  ";
    if (ReadHumidity)
        text += intro.Humidity + " " + (IsNumber(city.Humidity) ? city.Humidity : kUnknown) +
                " percent.  ";
    if (ReadDewpoint)
        text += intro.Dewpoint + " " +
                (IsNumber(city.DewPoint) ? city.GetDewPointText(useMetric) : kUnknown) +
                " degrees.  ";
    if (ReadWind)
        text += WindPhrase(city, intro, useMetric);
    if (ReadPressure)
        text += intro.Pressure + " " +
                (IsNumber(city.Pressure) ? city.GetPressureText(useMetric) : kUnknown) +
                (useMetric ? " hectopascals.  " : " inches.  ");
    if (ReadConditions)
        text +=
            intro.Conditions + " " + (city.Conditions.empty() ? kUnknown : city.Conditions) + ".  ";
    if (ReadVisibility) {
        const std::string visibility =
            IsNumber(city.Visibility) ? city.GetVisibilityText(useMetric) : kUnknown;
        if (visibility == kUnknown)
            text += intro.Visibility + " " + kUnknown + ".  ";
        else
            text +=
                intro.Visibility + " " + visibility + (useMetric ? " kilometers.  " : " miles.  ");
    }
    return text;
}

std::string TalkDataClass::ConditionsText(const CityDataClass& city, const IntroClass& intro,
                                          bool useMetric) const {
    if (!AnyValueOn())
        return std::string();
    return OpeningLine(city, intro) + Phrases(city, intro, useMetric);
}

std::string TalkDataClass::ForecastText(const CityDataClass& city, const IntroClass& intro) const {
    std::string text = intro.Forecast + " " + city.GetDisplayName();
    text += ReadForecastTime && IsKnownTime(city.ForecastTime)
                ? " at " + SpokenTime(city.ForecastTime) + " "
                : " ";
    const size_t periods = city.ForecastHeader.size();
    for (size_t i = 0; i < periods; ++i) {
        // A record with fewer texts than headings reads the missing texts as empty.
        const std::string& period = i < city.ForecastText.size() ? city.ForecastText[i] : "";
        text += city.ForecastHeader[i] + ",  " + period;
        if (i + 1 < periods)
            text += ", ";
    }
    text = UtilsClass::ReplaceAll(text, "wind", "wend");
    text = UtilsClass::ReplaceAll(text, "Wind", "Wend");
    return UtilsClass::ReplaceAll(text, "...", ",");
}

std::string TalkDataClass::SummaryText(const CityDataClass& city, const IntroClass& intro,
                                       bool useMetric) const {
    std::string text = ConditionsText(city, intro, useMetric);
    if (ReadForecast)
        text += ForecastText(city, intro);
    return text;
}

} // namespace olv
