#include "app/ReadingCommands.h"

#include "app/CityKeys.h"
#include "app/CitySession.h"
#include "app/ShippedTexts.h"
#include "app/TAudioHelp.h"
#include "app/WebPages.h"
#include "app/dialogs/Prompter.h"
#include "platform/ProcessMessages.h"
#include "report/IntroClass.h"
#include "report/TalkDataClass.h"
#include "schedule/AutoReadScheduler.h"
#include "speech/MinusSigns.h"
#include "speech/TBaseTTS.h"
#include "speech/TPreProcessor.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "util/UtilsClass.h"
#include "weather/CityDataClass.h"
#include "weather/WeatherUtils.h"

#include <exception>

namespace olv {
namespace {
constexpr const char* kNoCityShown =
    "There is no city to read yet: choose one from My Cities or under Global Locations.";
constexpr const char* kNoMyCities = "My Cities is empty: add cities under Global Locations.";
constexpr const char* kSummaryFileBase = "MyCitiesSummary";

// Ends of utterances reported while the window itself stops or replaces speech belong to
// the reading being replaced: they must not start the next random or queued reading.
class Suppress {
public:
    explicit Suppress(int& depth) : depth_(depth) { ++depth_; }
    ~Suppress() { --depth_; }
    Suppress(const Suppress&) = delete;
    Suppress& operator=(const Suppress&) = delete;

private:
    int& depth_;
};
} // namespace

ReadingCommands::ReadingCommands(TBaseTTS& speech, CitySession& cities,
                                 const TalkDataClass& defaultTalkData, const IntroClass& intro)
    : speech_(speech), cities_(cities), defaultTalkData_(defaultTalkData), intro_(intro) {
    cities_.AfterRetrievals = [this] {
        if (!continuePending_)
            return;
        continuePending_ = false;
        try {
            ContinueAfterSpeech();
        } catch (const std::exception& error) {
            Status(error.what());
        }
    };
}

void ReadingCommands::Status(const std::string& text) const {
    if (ShowStatus)
        ShowStatus(text);
}

std::string ReadingCommands::ConditionsText(const CityDataClass& city) const {
    TalkDataClass talk;
    talk.Load(city.FullName, "", TalkDataClass::CityMode);
    return talk.ConditionsText(city, intro_, cities_.UseMetric);
}

std::string ReadingCommands::ForecastText(const CityDataClass& city) const {
    TalkDataClass talk;
    talk.Load(city.FullName, "", TalkDataClass::CityMode);
    return talk.ForecastText(city, intro_);
}

std::string ReadingCommands::ConditionsAndForecastText(const CityDataClass& city) const {
    return ConditionsText(city) + ForecastText(city);
}

std::string ReadingCommands::MyCitiesSummaryText() const {
    std::string summary;
    for (const std::string& key : cities_.MyCities.Keys) {
        TalkDataClass talk;
        talk.Load(key, "Summary", TalkDataClass::SummaryMode);
        summary += talk.ConditionsText(cities_.StoredRecord(key), intro_, cities_.UseMetric);
    }
    return summary;
}

const CityDataClass* ReadingCommands::CityToRead() {
    if (!cities_.CurrentCity)
        TellLatin1(nullptr, kNoCityShown);
    return cities_.CurrentCity ? &*cities_.CurrentCity : nullptr;
}

void ReadingCommands::ReadConditions() {
    if (const CityDataClass* city = CityToRead())
        Speak(ConditionsText(*city), kReport);
}

void ReadingCommands::ReadForecast() {
    if (const CityDataClass* city = CityToRead())
        Speak(ForecastText(*city), kReport);
}

void ReadingCommands::ReadConditionsAndForecast() {
    if (const CityDataClass* city = CityToRead())
        Speak(ConditionsAndForecastText(*city), kReport);
}

void ReadingCommands::ReadMyCitiesSummary() {
    if (cities_.MyCities.Keys.empty()) {
        TellLatin1(nullptr, kNoMyCities);
        return;
    }
    Speak(MyCitiesSummaryText(), kReport);
}

void ReadingCommands::ReadMyCity(const std::string& key, bool forecast) {
    if (key.empty()) {
        TellLatin1(nullptr, CityKeys::kNoCitySelected);
        return;
    }
    const CityDataClass record = cities_.StoredRecord(key);
    Speak(forecast ? ForecastText(record) : ConditionsText(record), kReport);
}

void ReadingCommands::RetrieveAndReadDefaultConditions(const std::string& key) {
    if (cities_.RetrieveAndShow(key))
        Speak(defaultTalkData_.ConditionsText(*cities_.CurrentCity, intro_, cities_.UseMetric),
              kReport);
}

void ReadingCommands::RetrieveAndRead(const std::string& key, bool forecast) {
    if (!cities_.RetrieveAndShow(key))
        return;
    if (forecast)
        ReadForecast();
    else
        ReadConditions();
}

void ReadingCommands::StartRandomReading() {
    if (RandomMode)
        return;
    StopSpeaking();
    RandomMode = true;
    ReadRandomCity();
}

// A failed retrieval ends random reading: without the weather service every next city would
// fail the same way, one after another.
void ReadingCommands::ReadRandomCity() {
    const std::string key = cities_.Locations.GetRandomKey();
    if (key.empty() || !cities_.RetrieveAndShow(key)) {
        RandomMode = false;
        ReadingKind = kNothingSpoken;
        return;
    }
    Speak(defaultTalkData_.SummaryText(*cities_.CurrentCity, intro_, cities_.UseMetric),
          kRandomCityReport);
}

void ReadingCommands::ReadJoke() {
    const std::string joke = ShippedTexts::RandomJoke();
    if (joke.empty())
        Status(std::string("There are no jokes to read in ") + ShippedTexts::kJokesFile);
    else
        Speak(joke, kReport);
}

void ReadingCommands::ReadAudioHelp(const std::string& topic) {
    const std::string text = TAudioHelp::TopicText(topic);
    if (text.empty())
        Status("There is no audio help about " + topic);
    else
        Speak(text, kAudioHelpReading);
}

void ReadingCommands::SaveMyCitiesSummaryToFile() {
    if (cities_.MyCities.Keys.empty()) {
        TellLatin1(nullptr, kNoMyCities);
        return;
    }
    SpeakToFile(kSummaryFileBase, MyCitiesSummaryText(), kReport);
}

void ReadingCommands::SaveForecastToFile() {
    const CityDataClass* city = CityToRead();
    if (!city)
        return;
    // A record without a name (a ZIP code never retrieved) is named after its key.
    const std::string name =
        city->Name.empty() ? WeatherUtils::AfterLastBar(city->FullName) : city->Name;
    SpeakToFile(UtilsClass::ReplaceAll(name, " ", ""), ForecastText(*city), kReport);
}

void ReadingCommands::Speak(const std::string& text, int kind) {
    const std::string spoken = SpokenMinusSigns(text);
    Suppress replaced(suppressFinish_);
    if (!RandomMode)
        StopSpeaking();
    ReadingKind = kind;
    if (BeforeSpeaking)
        BeforeSpeaking();
    ProcessMessages();
    progress_.Begin(speech_.PreProcessor ? speech_.PreProcessor->Process(spoken) : spoken);
    try {
        speech_.Speak("", spoken);
    } catch (const std::exception& error) {
        Log(std::string("Speak failed: ") + error.what());
        ReadingKind = kNothingSpoken;
        RandomMode = false;
        speech_.OutputToFile = false;
        TellLatin1(nullptr, std::string("Exception: ") + error.what() +
                                "- If this continues, please contact " + web::kSupportContact);
    }
}

void ReadingCommands::SpeakToFile(const std::string& baseName, const std::string& text, int kind) {
    {
        Suppress replaced(suppressFinish_);
        if (!RandomMode)
            StopSpeaking();
    }
    speech_.OutputToFile = true;
    speech_.SetFileBase(baseName);
    Speak(text, kind);
}

void ReadingCommands::SpeechFinished(const std::string& fileBase) {
    if (suppressFinish_ > 0)
        return;
    speech_.OutputToFile = false;
    Status(fileBase.empty() ? std::string("Idle...") : "Saved " + MadeFile(fileBase));
    if (!RandomMode)
        ReadingKind = kNothingSpoken;
    // The next reading would retrieve inside the running retrieval: it waits for its end.
    if (cities_.IsRetrieving()) {
        continuePending_ = true;
        return;
    }
    ContinueAfterSpeech();
}

std::string ReadingCommands::MadeFile(const std::string& fileBase) const {
    const bool mp3 = SameText(speech_.OutputFormat(), TBaseTTS::kOutputFormatMp3);
    return speech_.OutputDir + fileBase + (mp3 ? ".mp3" : ".wav");
}

void ReadingCommands::ContinueAfterSpeech() {
    if (RandomMode) {
        ReadRandomCity();
        return;
    }
    if (Schedule)
        Schedule->SpeechEnded();
}

void ReadingCommands::StopSpeaking() {
    {
        Suppress replaced(suppressFinish_);
        if (speech_.IsBusy())
            speech_.Stop();
    }
    ReadingKind = kNothingSpoken;
}

void ReadingCommands::Stop() {
    if (Schedule)
        Schedule->Stop();
    RandomMode = false;
    continuePending_ = false;
    cities_.StopRetrieval();
    StopSpeaking();
    speech_.OutputToFile = false;
    Status("Idle...");
}

void ReadingCommands::PauseResume() {
    if (speech_.State() == TtsState::Speaking || speech_.State() == TtsState::Paused)
        speech_.TogglePause();
}

} // namespace olv
