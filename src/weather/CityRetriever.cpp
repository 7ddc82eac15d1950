#include "weather/CityRetriever.h"

#include "platform/Paths.h"
#include "scripts/ScriptClass.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "weather/LocationListClass.h"
#include "weather/MyCitiesClass.h"
#include "weather/WeatherUtils.h"

#include <exception>
#include <optional>
#include <utility>

namespace olv {
namespace {

// Shows the busy cursor for as long as it lives, even when a retrieval ends by an exception.
class BusyScope {
public:
    explicit BusyScope(const std::function<void(bool)>& onBusy) : onBusy_(onBusy) {
        if (onBusy_)
            onBusy_(true);
    }
    ~BusyScope() {
        if (onBusy_)
            onBusy_(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const std::function<void(bool)>& onBusy_;
};

// Makes a script the running one for as long as it lives. A retrieval started from an event
// handler while another one runs hands the outer script back when it ends.
class RunningScope {
public:
    RunningScope(ScriptClass*& running, ScriptClass* script)
        : running_(running), previous_(std::exchange(running, script)) {}
    ~RunningScope() { running_ = previous_; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

private:
    ScriptClass*& running_;
    ScriptClass* previous_;
};

// The reason for the user of a run that has ended, or "" when it succeeded. A stopped run is
// a failure too: half a record must not be taken for a fresh one.
std::string FailureReason(const ScriptClass& script, NVListClass& results, const std::string& place,
                          const std::string& unreadable) {
    if (script.Status() == ScriptStatus::ssAbort) {
        if (results.Get("ErrorMessage").empty())
            results.Put("ErrorMessage", "Retrieval stopped on request");
        return "Retrieval for " + place + " was stopped";
    }
    switch (script.Failure()) {
    case ScriptFailure::Download:
        return "Could not reach the weather service for " + place;
    case ScriptFailure::Command:
        return unreadable;
    case ScriptFailure::Script:
    case ScriptFailure::None:
        break;
    }
    // The script's own words; a script that sets them and ends without `fail` counts too.
    return results.Get("ErrorMessage");
}

} // namespace

CityRetriever::CityRetriever(const LocationListClass& locations) : locations_(locations) {}

CityRetriever::~CityRetriever() = default;

std::string CityRetriever::ScriptFilePath() const {
    return ScriptFile.empty() ? ProgramFolder() + kScriptFile : ScriptFile;
}

void CityRetriever::ShowStatus(const std::string& text) const {
    if (OnStatusText)
        OnStatusText(text);
}

void CityRetriever::Abort() {
    if (runningScript_)
        runningScript_->Abort();
}

CityDataClass CityRetriever::RetrieveCity(const std::string& key) {
    Log("RetrieveCity-> Retrieving " + key);
    const bool byZip = StartsWith(key, "ZIP");
    std::optional<LocItemClass> item =
        byZip ? std::optional<LocItemClass>(LocItemClass(key, key, "ZIP")) : locations_.Find(key);
    lastErrorMessage_.clear();
    lastFailureReason_.clear();
    if (!item)
        return CityDataClass(key);

    NVListClass results;
    DoRetrieve(*item, results);
    CityDataClass record(key);
    record.LoadFromResults(results);
    record.FullName = key;
    record.Name = byZip ? results.Get("ZipName") : item->Name;
    return record;
}

void CityRetriever::DoRetrieve(LocItemClass& item, NVListClass& results) {
    const bool byZip = item.URL == "ZIP";
    const std::string zip = byZip ? Substring(item.Name, 5, kMax) : std::string();
    const std::string place = byZip ? MyCitiesClass::DisplayNameOf(item.Name)
                                    : item.Name + ", " + WeatherUtils::SecondField(item.Key) +
                                          ", " + WeatherUtils::FirstField(item.Key);
    const std::string placeForUser = byZip ? place : item.Name;
    {
        BusyScope busy(OnBusy);
        ShowStatus("Retrieving data for " + place + "...");
        Log("DoRetrieve-> get tmpStr");
        if (byZip) {
            item.URL = zip;
            results.Put("DOINGZIP", "Y");
            results.Put("ZIP", zip);
        }
        results.Put("CityURL", item.URL);
        RunScript(results, placeForUser);
        ShowStatus("Retrieval for " + place + " complete");
    }
    if (OnResetIdle)
        OnResetIdle();
}

// Every failure ends up in "ErrorMessage", so the caller has one place to look: a missing
// script, a stopped run and a run that throws (a text that should have been a number, a page
// that cannot be read) are reported there too instead of passing for success or escaping the
// window. The reason for the user names the place, not the address or the command.
void CityRetriever::RunScript(NVListClass& results, const std::string& place) {
    ScriptClass script;
    RunningScope running(runningScript_, &script);
    Log("DoRetieve-> if proxy, next line will show");
    if (!TrimView(ProxyHost).empty()) {
        Log("DoRetrieve->ProxyHost=" + ProxyHost + " ProxyPort=" + ProxyPort);
        script.ProxyHost = Trim(ProxyHost);
        script.ProxyPort = ProxyPort;
        script.ProxyUsername = ProxyUsername;
        script.ProxyPassword = ProxyPassword;
    }
    const std::string scriptFile = ScriptFilePath();
    const std::string unreadable = "Could not read the weather service's answer for " + place;
    script.LoadScript(scriptFile, kScriptName, results);
    if (script.Lines().empty()) {
        results.Put("ErrorMessage", std::string("The retrieval script ") + kScriptName +
                                        " is missing from " + scriptFile);
        lastFailureReason_ = "The weather retrieval script is missing";
    } else {
        try {
            script.Run();
            lastFailureReason_ = FailureReason(script, results, place, unreadable);
        } catch (const std::exception& error) {
            results.Put("ErrorMessage", error.what());
            lastFailureReason_ = unreadable;
        }
    }
    lastErrorMessage_ = results.Get("ErrorMessage");
    Log("DoRetrieve->ErrorMessage=" + lastErrorMessage_ + "=");
}

} // namespace olv
