#pragma once

#include "weather/CityDataClass.h"
#include "weather/CityRetriever.h"
#include "weather/LocationListClass.h"
#include "weather/MyCitiesClass.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace olv {

class CityViews;
class TBaseRegistryClass;

// The cities the window works with (the catalogue, My Cities, the recent cities and the city
// shown) and the commands that retrieve, show, choose and update them. Retrieval runs on the
// calling thread; the downloader and the interpreter let events run meanwhile, so Stop and
// Exit can end it. A retrieval command that arrives while one runs is refused.
class CitySession {
public:
    struct Retrieval {
        CityDataClass Record;
        std::string Failure; // for the status line; empty when it succeeded
        bool Ok() const { return Failure.empty(); }
    };

    // The status line's answer to a retrieval command while one runs.
    static constexpr const char* kBusy = "Please wait: a retrieval is running (Stop ends it).";

    CitySession(TBaseRegistryClass& settings, CityViews& views);

    // A fresh record. Successful retrievals of My Cities are stored into "MyCitiesData.chl";
    // a failed one stores nothing and says why in the status line.
    Retrieval Retrieve(const std::string& key);
    // Retrieve, then show the city and select it in the drop-downs. False when it failed
    // (the city shown stays) or another retrieval is running.
    bool RetrieveAndShow(const std::string& key);
    // Update the city shown / a My City (Update All is the scheduled reading's refresh).
    bool UpdateCurrent();
    bool UpdateMyCity(const std::string& key);
    // Runs work (retrievals and what surrounds them) as one retrieval: retrieval commands are
    // refused meanwhile, and AfterRetrievals comes once, at its end.
    void RunAsOneRetrieval(const std::function<void()>& work);
    // Stop or Exit: aborts the retrieval in progress and the rest of Update All.
    void StopRetrieval();
    bool IsRetrieving() const { return depth_ > 0; }

    // The record becomes the city shown; a My City becomes "MainCityName".
    void ShowCity(const CityDataClass& record);
    void ShowStoredCity(const std::string& key);
    // At first showing: "MainCityName" when it is a My City, else the first My City.
    void ShowMainCity();
    void SelectInDropDowns(const std::string& key);

    // "Add->MyCities" with the key of the selected city ("" when none is selected); "Remove"
    // with the key of the selected row ("" when none is).
    void AddMyCity(const std::string& key);
    void RemoveMyCity(const std::string& key);

    CityDataClass StoredRecord(const std::string& key) const;
    // The city as the status line names it: "Boston", "ZIP code 02134".
    static std::string PlaceOf(const std::string& key);
    bool IsMyCity(const std::string& key) const { return MyCities.IndexOf(key) >= 0; }
    std::vector<std::string>& RecentCities();

    LocationListClass Locations;
    MyCitiesClass MyCities;
    CityRetriever Retriever{Locations};
    std::optional<CityDataClass> CurrentCity;
    bool UseMetric = false;
    bool Closing = false; // Exit was chosen
    bool Idle = false;    // no retrieval during the last minute

    // Update All's first step: the once-a-day check for new data files.
    std::function<void()> BeforeUpdateAll;
    // When the last running retrieval has ended.
    std::function<void()> AfterRetrievals;

private:
    class RetrievalScope;

    bool RetrieveAndShow(const std::string& key, bool select);
    void Store(const CityDataClass& record);
    void SaveMyCities();

    TBaseRegistryClass& settings_;
    CityViews& views_;
    int depth_ = 0;
    bool stopRequested_ = false;
};

} // namespace olv
