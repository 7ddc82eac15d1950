#pragma once

#include "cli/ReportOptions.h"
#include "report/IntroClass.h"
#include "settings/OlvenarRegistryClass.h"
#include "weather/CityRetriever.h"
#include "weather/LocationListClass.h"

#include <functional>
#include <iosfwd>
#include <string>

namespace olv {

class CityDataClass;
class MyCitiesClass;

// What olvenar-report does, in the program folder that main prepared: retrieves cities with the
// shipped script and composes their reports as the window's read commands do.
class ReportCommand {
public:
    ReportCommand(const ReportOptions& options, std::ostream& out, std::ostream& err);

    // Exit status: 0 when every report was made, 1 when a retrieval, a report or a change of
    // My Cities failed, 64 for a key that cannot be a city.
    int Run();

    // Stops the retrieval in progress (from a signal's pump).
    void Abort() { retriever_.Abort(); }

    // Receives every finished report; prints it unless replaced. Returns false when the report
    // could not be delivered (the handler has said why).
    std::function<bool(const std::string& key, const std::string& text)> OnReport;

private:
    int ChangeMyCities();
    int AddMyCity(MyCitiesClass& myCities, const std::string& key);
    int RemoveMyCity(MyCitiesClass& myCities, const std::string& key);
    int FindKeys();
    int ReadKeys();
    int StoreMyCities();
    int ReadMyCitiesSummary();

    bool CheckKey(const std::string& key);
    bool Retrieve(const std::string& key, CityDataClass& record);
    std::string Compose(const CityDataClass& record) const;
    bool Deliver(const std::string& key, const std::string& text);

    const ReportOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    OlvenarRegistryClass settings_;
    bool useMetric_ = false;
    IntroClass intro_;
    LocationListClass locations_;
    CityRetriever retriever_;
};

} // namespace olv
