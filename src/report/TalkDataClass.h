#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace olv {

class CityDataClass;
class GrabBaseClass;
class IntroClass;

// Which parts of a city's weather are spoken, kept per section of "TalkData.chl", and the
// texts of the spoken reports built from a city record.
class TalkDataClass {
public:
    static constexpr const char* kFileName = "TalkData.chl";
    static constexpr const char* kDefaultSection = "Default";

    // How Load chose its section.
    enum Mode : uint8_t {
        DefaultMode = 0,  // the default options
        CityMode = 1,     // a My City's options, else the defaults
        AutoItemMode = 2, // a scheduled item's options, else its city's, else the defaults
        SummaryMode = 3,  // the summary options, else the defaults
    };

    // Reads the options of one section: a section without a "Temperature" value counts as
    // absent and the next one in line is read instead. A missing file keeps the defaults.
    void Load(std::string_view cityKey, std::string_view itemName, uint8_t mode);
    // Writes the options under SectionName (the defaults' section when none was loaded).
    // Throws std::system_error when the file cannot be written.
    void Save() const;

    // The report texts. Units are metric when useMetric is set.
    std::string ConditionsText(const CityDataClass& city, const IntroClass& intro,
                               bool useMetric) const;
    std::string ForecastText(const CityDataClass& city, const IntroClass& intro) const;
    std::string SummaryText(const CityDataClass& city, const IntroClass& intro,
                            bool useMetric) const;

    std::string FilePath() const;

    bool ReadConditionsTime = true;
    bool ReadTemperature = true;
    bool ReadHumidity = true;
    bool ReadDewpoint = true;
    bool ReadWind = true;
    bool ReadPressure = true;
    bool ReadConditions = true;
    bool ReadVisibility = true;
    bool ReadForecastTime = false;
    bool ReadForecast = false;
    bool ReadCurrentTime = true; // kept in the file; changes no text

    std::string SectionName;
    uint8_t LoadMode = DefaultMode;

private:
    void ReadSection(GrabBaseClass& store, const std::string& section);
    bool AnyValueOn() const;
    std::string OpeningLine(const CityDataClass& city, const IntroClass& intro) const;
    std::string Phrases(const CityDataClass& city, const IntroClass& intro, bool useMetric) const;
    static std::string WindPhrase(const CityDataClass& city, const IntroClass& intro,
                                  bool useMetric);
};

} // namespace olv
