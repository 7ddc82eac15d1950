#pragma once

#include "app/SpeechProgress.h"

#include <functional>
#include <string>

namespace olv {

class AutoReadScheduler;
class CityDataClass;
class CitySession;
class IntroClass;
class TalkDataClass;
class TBaseTTS;

// What is being spoken (ReadingKind).
enum ReadingKindValue : int {
    kNothingSpoken = 0,
    kScheduledReading = 1,
    kReport = 2,
    kAudioHelpReading = 3,
    kRandomCityReport = 4,
};

// The reading commands: compose a report for a city and hand it to the speak step, which
// gives it to the speech controller. Also the end of speech, Stop, Pause and random reading.
// No widgets: the window connects its buttons and menus to these.
class ReadingCommands {
public:
    ReadingCommands(TBaseTTS& speech, CitySession& cities, const TalkDataClass& defaultTalkData,
                    const IntroClass& intro);

    // Report texts, with the city's own reading options.
    std::string ConditionsText(const CityDataClass& city) const;
    std::string ForecastText(const CityDataClass& city) const;
    std::string ConditionsAndForecastText(const CityDataClass& city) const;
    // Every My City's stored weather with the summary options; empty when there are none.
    std::string MyCitiesSummaryText() const;

    // The city shown.
    void ReadConditions();
    void ReadForecast();
    void ReadConditionsAndForecast();
    void ReadMyCitiesSummary();
    // A My City's stored weather (no retrieval); key "" when none is selected.
    void ReadMyCity(const std::string& key, bool forecast);
    // Retrieve a city, then read its conditions with the default options (the global list's
    // " Conditions" button and double click).
    void RetrieveAndReadDefaultConditions(const std::string& key);
    // Retrieve a city, then read its conditions or forecast with its own options.
    void RetrieveAndRead(const std::string& key, bool forecast);
    void StartRandomReading();
    void ReadJoke();
    void ReadAudioHelp(const std::string& topic);
    // "MyCities Summary To File" and "Current Forecast To File": the reading goes into an audio
    // file, in the folder and format of the voice options, named "MyCitiesSummary" or after the
    // city ("New York" gives "NewYork").
    void SaveMyCitiesSummaryToFile();
    void SaveForecastToFile();

    // The speak step every reading goes through.
    void Speak(const std::string& text, int kind);
    // The same into an audio file named after baseName (the controller's file output).
    void SpeakToFile(const std::string& baseName, const std::string& text, int kind);
    // The speech controller's end of speech; fileBase names the file it made, if any.
    void SpeechFinished(const std::string& fileBase = "");
    void Stop();
    void PauseResume();

    // The status line text for a word position reported while speaking.
    std::string ProgressText(int position) const { return progress_.Text(position); }

    int ReadingKind = kNothingSpoken;
    bool RandomMode = false;

    // Scheduled reading: the end of speech starts its next queued reading, Stop empties its
    // queue.
    AutoReadScheduler* Schedule = nullptr;
    // Before a reading starts: moves the focus away from the controls speech disables.
    std::function<void()> BeforeSpeaking;
    std::function<void(const std::string& text)> ShowStatus;

private:
    const CityDataClass* CityToRead();
    void ReadRandomCity();
    void ContinueAfterSpeech();
    void StopSpeaking();
    void Status(const std::string& text) const;
    // The path of the file the controller made for fileBase.
    std::string MadeFile(const std::string& fileBase) const;

    TBaseTTS& speech_;
    CitySession& cities_;
    const TalkDataClass& defaultTalkData_;
    const IntroClass& intro_;
    SpeechProgress progress_;
    bool continuePending_ = false; // the end of speech came while a retrieval ran
    int suppressFinish_ = 0;
};

} // namespace olv
