#include "schedule/AutoReadHost.h"

#include "weather/CityDataClass.h"

namespace olv {

void AutoReadHost::StoreRecord(const CityDataClass& record) {
    record.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + record.FullName);
}

} // namespace olv
