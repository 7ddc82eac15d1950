#include "cli/ReportCommand.h"

#include "report/TalkDataClass.h"
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
        if (!options_.FindText.empty())
            return FindKeys();
        int status = ReadKeys();
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
        if (key.size() == 9 && StartsWith(key, "ZIP:"))
            return true;
        err_ << "olvenar-report: " << key << ": Invalid Zip Code Entered\n";
        return false;
    }
    if (locations_.Find(key))
        return true;
    err_ << "olvenar-report: Unable to find location " << key
         << " (olvenar-report --find NAME lists the keys of a city)\n";
    return false;
}

bool ReportCommand::Retrieve(const std::string& key, CityDataClass& record) {
    record = retriever_.RetrieveCity(key);
    const std::string& error = retriever_.LastErrorMessage();
    if (error.empty())
        return true;
    err_ << "olvenar-report: " << key << ": " << error << '\n';
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
    std::string summary;
    for (const std::string& key : myCities.Keys) {
        CityDataClass record(key);
        record.LoadRecord(CityDataClass::kMyCitiesDataFile, "/" + key);
        TalkDataClass talk;
        talk.Load(key, "Summary", TalkDataClass::SummaryMode);
        summary += talk.ConditionsText(record, intro_, useMetric_);
    }
    return Deliver("My Cities", summary) ? 0 : kFailed;
}

} // namespace olv
