#include "app/CitySession.h"

#include "app/CityKeys.h"
#include "app/CityViews.h"
#include "app/dialogs/Prompter.h"
#include "settings/TBaseRegistryClass.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "weather/WeatherUtils.h"

#include <algorithm>
#include <system_error>

namespace olv {
namespace {
constexpr const char* kAlreadyMyCity = "Selected city is already in the MyCities List.";
constexpr const char* kNoRowSelected = "You must select a city from the MyCities list to remove.";
} // namespace

// Counts the retrievals in progress; a Stop holds until the outermost one ends.
class CitySession::RetrievalScope {
public:
    explicit RetrievalScope(CitySession& session) : session_(session) {
        if (session_.depth_++ > 0)
            return;
        session_.stopRequested_ = false;
        if (session_.OnRetrieving)
            session_.OnRetrieving(true);
    }
    ~RetrievalScope() {
        if (--session_.depth_ > 0)
            return;
        if (session_.OnRetrieving)
            session_.OnRetrieving(false);
        if (session_.AfterRetrievals)
            session_.AfterRetrievals();
    }
    RetrievalScope(const RetrievalScope&) = delete;
    RetrievalScope& operator=(const RetrievalScope&) = delete;

private:
    CitySession& session_;
};

CitySession::CitySession(TBaseRegistryClass& settings, CityViews& views)
    : settings_(settings), views_(views) {}

std::string CitySession::PlaceOf(const std::string& key) {
    return StartsWith(key, "ZIP") ? MyCitiesClass::DisplayNameOf(key)
                                  : WeatherUtils::AfterLastBar(key);
}

std::vector<std::string>& CitySession::RecentCities() {
    return settings_.GetList("RecentCityList");
}

CitySession::Retrieval CitySession::Retrieve(const std::string& key) {
    RetrievalScope scope(*this);
    Retrieval result{Retriever.RetrieveCity(key), {}};
    const std::string& reason = Retriever.LastFailureReason();
    if (stopRequested_ || Closing)
        result.Failure = "Retrieval for " + PlaceOf(key) + " stopped";
    else if (!reason.empty())
        result.Failure = reason;
    else if (!result.Record.HasData)
        result.Failure = "Unable to find location " + key;

    if (!result.Ok()) {
        Log("Retrieval failed: " + result.Failure + " (" + Retriever.LastErrorMessage() + ")");
        views_.ShowStatus(result.Failure);
    } else if (IsMyCity(key)) {
        Store(result.Record);
    }
    return result;
}

void CitySession::Store(const CityDataClass& record) {
    try {
        record.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + record.FullName);
    } catch (const std::system_error& error) {
        views_.ShowStatus("Could not save the weather of " + PlaceOf(record.FullName) + ": " +
                          error.what());
    }
}

bool CitySession::RetrieveAndShow(const std::string& key) {
    return RetrieveAndShow(key, true);
}

bool CitySession::RetrieveAndShow(const std::string& key, bool select) {
    if (IsRetrieving()) {
        views_.ShowStatus(kBusy);
        return false;
    }
    const Retrieval result = Retrieve(key);
    if (!result.Ok())
        return false;
    ShowCity(result.Record);
    if (select)
        SelectInDropDowns(key);
    if (IsMyCity(key))
        views_.MyCitiesChanged();
    return true;
}

bool CitySession::UpdateCurrent() {
    if (!CurrentCity) {
        TellLatin1(nullptr, CityKeys::kNoCitySelected);
        return false;
    }
    return UpdateMyCity(CurrentCity->FullName);
}

bool CitySession::UpdateMyCity(const std::string& key) {
    if (key.empty()) {
        TellLatin1(nullptr, CityKeys::kNoCitySelected);
        return false;
    }
    return RetrieveAndShow(key, false);
}

void CitySession::RunAsOneRetrieval(const std::function<void()>& work) {
    RetrievalScope scope(*this);
    work();
}

void CitySession::StopRetrieval() {
    if (!IsRetrieving())
        return;
    stopRequested_ = true;
    Retriever.Abort();
}

CityDataClass CitySession::StoredRecord(const std::string& key) const {
    CityDataClass record(key);
    record.LoadRecord(CityDataClass::kMyCitiesDataFile, "/" + key);
    if (record.Name.empty() && !StartsWith(key, "ZIP"))
        record.Name = WeatherUtils::AfterLastBar(key);
    return record;
}

void CitySession::ShowCity(const CityDataClass& record) {
    CurrentCity = record;
    if (IsMyCity(record.FullName))
        settings_.SetValue("MainCityName", record.FullName);
    views_.ShowCity(*CurrentCity);
}

void CitySession::ShowStoredCity(const std::string& key) {
    ShowCity(StoredRecord(key));
    SelectInDropDowns(key);
}

void CitySession::ShowMainCity() {
    std::string key = settings_.GetValue("MainCityName").AsString();
    if (!IsMyCity(key))
        key = MyCities.Keys.empty() ? std::string() : MyCities.Keys.front();
    if (key.empty()) {
        views_.ShowStatus("Choose a city under Global Locations and add it to My Cities");
        return;
    }
    ShowStoredCity(key);
}

void CitySession::SelectInDropDowns(const std::string& key) {
    const int index = MyCities.IndexOf(key);
    if (index >= 0) {
        views_.SelectCity(index, std::string());
        return;
    }
    CityKeys::RememberRecent(RecentCities(), key);
    views_.SelectCity(-1, key);
}

void CitySession::SaveMyCities() {
    try {
        MyCities.Save();
    } catch (const std::system_error& error) {
        TellLatin1(nullptr, std::string("My Cities could not be saved: ") + error.what());
    }
    MyCities.Load();
    views_.MyCitiesChanged();
}

void CitySession::AddMyCity(const std::string& key) {
    if (key.empty()) {
        TellLatin1(nullptr, CityKeys::kNoCitySelected);
        return;
    }
    if (IsMyCity(key)) {
        TellLatin1(nullptr, kAlreadyMyCity);
        return;
    }
    MyCities.Keys.push_back(key);
    std::stable_sort(
        MyCities.Keys.begin(), MyCities.Keys.end(),
        [](const std::string& a, const std::string& b) { return LowerCase(a) < LowerCase(b); });
    SaveMyCities();
}

void CitySession::RemoveMyCity(const std::string& key) {
    const int index = MyCities.IndexOf(key);
    if (key.empty() || index < 0) {
        TellLatin1(nullptr, kNoRowSelected);
        return;
    }
    MyCities.Keys.erase(MyCities.Keys.begin() + index);
    SaveMyCities();
}

} // namespace olv
