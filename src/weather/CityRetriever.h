#pragma once

#include "scripts/NVListClass.h"
#include "weather/CityDataClass.h"
#include "weather/LocItemClass.h"

#include <functional>
#include <memory>
#include <string>

namespace olv {

class LocationListClass;
class ScriptClass;

// Retrieves a city's weather by running the retrieval script "WUFore" of "Olvenar.chl".
// The window (or a command-line tool) hosts it: it sets the proxy and the callbacks, and while
// a run is active it can reach the script through RunningScript() or stop it with Abort().
class CityRetriever {
public:
    static constexpr const char* kScriptFile = "Olvenar.chl";
    static constexpr const char* kScriptName = "WUFore";

    explicit CityRetriever(const LocationListClass& locations);
    ~CityRetriever();
    CityRetriever(const CityRetriever&) = delete;
    CityRetriever& operator=(const CityRetriever&) = delete;

    // A fresh record for the key; an unknown key gives an empty record and runs nothing.
    // A failed run leaves in the record what was grabbed; LastFailureReason() says it failed.
    CityDataClass RetrieveCity(const std::string& key);
    // Runs the script for a location item, leaving its results (and "ErrorMessage") in results.
    void DoRetrieve(LocItemClass& item, NVListClass& results);

    // Why the last retrieval failed, in words for the user ("Could not reach the weather service
    // for Boston"); "" when it succeeded.
    const std::string& LastFailureReason() const { return lastFailureReason_; }
    // The technical text of the same failure ("download failed, URL=..."), for the log.
    const std::string& LastErrorMessage() const { return lastErrorMessage_; }

    // The script of the retrieval in progress, or nullptr.
    ScriptClass* RunningScript() const { return runningScript_; }
    // Stops the retrieval in progress, if any.
    void Abort();

    // Proxy for the downloads; an empty host means none.
    std::string ProxyHost;
    std::string ProxyPort;
    std::string ProxyUsername;
    std::string ProxyPassword;

    // The data file holding the script: the one given, else "Olvenar.chl" in the program folder.
    std::string ScriptFile;

    // Status line texts ("Retrieving data for ...", "Retrieval for ... complete").
    std::function<void(const std::string& text)> OnStatusText;
    // true when the retrieval starts (show the busy cursor), false when it ends.
    std::function<void(bool busy)> OnBusy;
    // At the end of every retrieval: the user was active, so clear the idle flag and restart
    // the idle timer.
    std::function<void()> OnResetIdle;

private:
    std::string ScriptFilePath() const;
    void RunScript(NVListClass& results, const std::string& place);
    void ShowStatus(const std::string& text) const;

    const LocationListClass& locations_;
    ScriptClass* runningScript_ = nullptr;
    std::string lastErrorMessage_;
    std::string lastFailureReason_;
};

} // namespace olv
