#include "app/MyCitiesRows.h"

#include "app/CityDisplay.h"
#include "util/Strings.h"
#include "weather/CityDataClass.h"
#include "weather/MyCitiesClass.h"

namespace olv {

std::string MyCityCaption(const std::string& key, const std::string& displayName,
                          const std::string& storedName) {
    return StartsWith(key, "ZIP") && !storedName.empty() ? storedName : displayName;
}

std::vector<MyCitiesRow> MyCitiesRows(const MyCitiesClass& myCities, bool metric) {
    std::vector<MyCitiesRow> rows;
    for (size_t i = 0; i < myCities.Keys.size(); ++i) {
        const std::string& key = myCities.Keys[i];
        CityDataClass record(key);
        record.LoadRecord(CityDataClass::kMyCitiesDataFile, "/" + key);
        const std::string displayName =
            i < myCities.DisplayNames.size() ? myCities.DisplayNames[i] : key;
        rows.push_back({key, MyCityCaption(key, displayName, record.Name),
                        ShownTemperature(record, metric), record.Humidity, record.Conditions,
                        record.ConditionsTime});
    }
    return rows;
}

} // namespace olv
