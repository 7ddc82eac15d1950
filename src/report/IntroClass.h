#pragma once

#include <string>

namespace olv {

// The nine lead-in phrases spoken before the parts of a report, kept in "Intro.chl".
class IntroClass {
public:
    static constexpr const char* kFileName = "Intro.chl";

    // Replaces each phrase that the file holds and that is not empty; a missing file changes
    // nothing.
    void Load();
    // Writes all nine phrases; an empty one is stored as a single blank, since the file cannot
    // hold empty values. Throws std::system_error when the file cannot be written.
    void Save();

    std::string FilePath() const;

    std::string ConditionsIntro = "Here are the current conditions for";
    std::string Temperature = "The Temperature is";
    std::string Humidity = "Humidity is";
    std::string Dewpoint = "Current DewPoint is";
    std::string Wind = "Winds are from the";
    std::string Pressure = "The Pressure is";
    std::string Conditions = "Conditions are";
    std::string Visibility = "Visibility is";
    std::string Forecast = "The forecast for";
};

} // namespace olv
