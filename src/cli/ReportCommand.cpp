#include "cli/ReportCommand.h"

#include "report/TalkDataClass.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "weather/CityDataClass.h"
#include "weather/MyCitiesClass.h"

#include <algorithm>
#include <exception>
#include <ostream>

namespace olv {
namespace {
constexpr int kFailed = 1;
constexpr int kBadKey = 64;

// The window's messages for My Cities.
constexpr const char* kInvalidZip = "Invalid Zip Code Entered";
constexpr const char* kSelectCity = "Please select a city from the list.";
constexpr const char* kAlreadyListed = "Selected city is already in the MyCities List.";
constexpr const char* kSelectToRemove = "You must select a city from the MyCities list to remove.";
constexpr const char* kFindHint = " (olvenar-report --find NAME lists the keys of a city)";

// "ZIP:" and five characters, as the window makes it from its ZIP code box.
bool IsZipKey(const std::string& key) {
    return StartsWith(key, "ZIP:") && key.size() == 9;
}

} // namespace

ReportCommand::ReportCommand(const ReportOptions& options, std::ostream& out, std::ostream& err)
    : options_(options), out_(out), err_(err), retriever_(locations_) {
    settings_.LoadAll();
    useMetric_ = options_.Metric || settings_.GetValue("Celcius").AsBool();
    intro_.Load();
    if (!options_.ProxyHost.empty()) {
        retriever_.ProxyHost = options_.ProxyHost;
        retriever_.ProxyPort = options_.ProxyPort;
    } else {
        retriever_.ProxyHost = settings_.GetValue("ProxyHost").AsString();
        retriever_.ProxyPort = settings_.GetValue("ProxyPort").AsString();
        retriever_.ProxyUsername = settings_.GetValue("ProxyUsername").AsString();
        retriever_.ProxyPassword = settings_.GetValue("ProxyPassword").AsString();
    }
    OnReport = [this](const std::string&, const std::string& text) {
        out_ << text << '\n';
        return true;
    };
}

int ReportCommand::Run() {
    try {
        int status = ChangeMyCities();
        if (!options_.FindText.empty())
            return std::max(status, FindKeys());
        status = std::max(status, ReadKeys());
        if (options_.Store)
            status = std::max(status, StoreMyCities());
        if (options_.MyCities)
            status = std::max(status, ReadMyCitiesSummary());
        return status;
    } catch (const std::exception& error) {
        // A missing catalogue or an unwritable data file: say it plainly.
        err_ << "olvenar-report: " << error.what() << '\n';
        return kFailed;
    }
}

int ReportCommand::FindKeys() {
    const std::string wanted = LowerCase(options_.FindText);
    bool any = false;
    for (const LocItemClass& item : locations_.ReadItems()) {
        if (LowerCase(item.Name).find(wanted) == std::string::npos)
            continue;
        out_ << item.Key << '\n';
        any = true;
    }
    if (!any)
        err_ << "olvenar-report: no city name contains '" << options_.FindText << "'\n";
    return any ? 0 : kFailed;
}

int ReportCommand::ReadKeys() {
    int status = 0;
    for (const std::string& key : options_.Keys) {
        if (!CheckKey(key)) {
            status = std::max(status, kBadKey);
            continue;
        }
        CityDataClass record(key);
        if (!Retrieve(key, record) || !Deliver(key, Compose(record)))
            status = std::max(status, kFailed);
    }
    return status;
}

bool ReportCommand::CheckKey(const std::string& key) {
    if (StartsWith(key, "ZIP")) {
        if (IsZipKey(key))
            return true;
        err_ << "olvenar-report: " << key << ": " << kInvalidZip << '\n';
        return false;
    }
    if (locations_.Find(key))
        return true;
    err_ << "olvenar-report: Unable to find location " << key << kFindHint << '\n';
    return false;
}

// Each change is saved and the list read back, as the window does, so that the next change
// sees the sorted list.
int ReportCommand::ChangeMyCities() {
    if (options_.MyCitiesChanges.empty())
        return 0;
    MyCitiesClass myCities;
    myCities.Load();
    int status = 0;
    for (const auto& [add, key] : options_.MyCitiesChanges)
        status = std::max(status, add ? AddMyCity(myCities, key) : RemoveMyCity(myCities, key));
    return status;
}

int ReportCommand::AddMyCity(MyCitiesClass& myCities, const std::string& key) {
    if (StartsWith(key, "ZIP") ? !IsZipKey(key) : !locations_.Find(key)) {
        err_ << "olvenar-report: " << key << ": "
             << (StartsWith(key, "ZIP") ? kInvalidZip : std::string(kSelectCity) + kFindHint)
             << '\n';
        return kBadKey;
    }
    if (myCities.IndexOf(key) >= 0) {
        err_ << "olvenar-report: " << key << ": " << kAlreadyListed << '\n';
        return kFailed;
    }
    myCities.Keys.push_back(key);
    myCities.DisplayNames.push_back(MyCitiesClass::DisplayNameOf(key));
    myCities.Save();
    myCities.Load();
    return 0;
}

int ReportCommand::RemoveMyCity(MyCitiesClass& myCities, const std::string& key) {
    const int index = myCities.IndexOf(key);
    if (index < 0) {
        err_ << "olvenar-report: " << key << ": " << kSelectToRemove << '\n';
        return kFailed;
    }
    myCities.Keys.erase(myCities.Keys.begin() + index);
    myCities.DisplayNames.erase(myCities.DisplayNames.begin() + index);
    myCities.Save();
    myCities.Load();
    return 0;
}

bool ReportCommand::Retrieve(const std::string& key, CityDataClass& record) {
    record = retriever_.RetrieveCity(key);
    const std::string& reason = retriever_.LastFailureReason();
    if (reason.empty())
        return true;
    Log("Retrieval of " + key + " failed: " + retriever_.LastErrorMessage());
    err_ << "olvenar-report: " << key << ": " << reason << '\n';
    return false;
}

std::string ReportCommand::Compose(const CityDataClass& record) const {
    TalkDataClass talk;
    talk.Load(record.FullName, "", TalkDataClass::CityMode);
    switch (options_.ReportKind) {
    case ReportOptions::Kind::Forecast:
        return talk.ForecastText(record, intro_);
    case ReportOptions::Kind::Summary:
        return talk.SummaryText(record, intro_, useMetric_);
    case ReportOptions::Kind::Conditions:
        break;
    }
    return talk.ConditionsText(record, intro_, useMetric_);
}

bool ReportCommand::Deliver(const std::string& key, const std::string& text) {
    return OnReport ? OnReport(key, text) : true;
}

int ReportCommand::StoreMyCities() {
    MyCitiesClass myCities;
    myCities.Load();
    int status = 0;
    for (const std::string& key : myCities.Keys) {
        CityDataClass record(key);
        // A failed retrieval is not stored: it would replace the last good forecast with nothing.
        if (!Retrieve(key, record)) {
            status = kFailed;
            continue;
        }
        record.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + key);
    }
    return status;
}

int ReportCommand::ReadMyCitiesSummary() {
    MyCitiesClass myCities;
    myCities.Load();
    if (myCities.Keys.empty()) {
        err_ << "olvenar-report: My Cities is empty\n";
        return kFailed;
    }
    // A city without stored weather would be read as the window's "Click Update All to Load".
    std::string summary;
    for (const std::string& key : myCities.Keys) {
        CityDataClass record(key);
        record.LoadRecord(CityDataClass::kMyCitiesDataFile, "/" + key);
        if (record.Temperature.empty()) {
            err_ << "olvenar-report: no weather is stored for " << key
                 << " yet (olvenar-report --store retrieves it)\n";
            continue;
        }
        TalkDataClass talk;
        talk.Load(key, "Summary", TalkDataClass::SummaryMode);
        summary += talk.ConditionsText(record, intro_, useMetric_);
    }
    if (summary.empty()) {
        err_ << "olvenar-report: no weather is stored for My Cities yet: run olvenar-report "
                "--store first\n";
        return kFailed;
    }
    return Deliver("My Cities", summary) ? 0 : kFailed;
}

} // namespace olv
