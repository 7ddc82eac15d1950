#include "schedule/AutoItemClass.h"

#include "platform/Paths.h"
#include "scripts/GrabBaseClass.h"
#include "util/EConvertError.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "util/UtilsClass.h"

#include <system_error>

namespace olv {
namespace {

std::string SectionPath(std::string_view itemName) {
    return "/" + std::string(itemName);
}

const char* YesNo(bool value) {
    return value ? "Y" : "N";
}

// A stored number that does not parse takes its default: the item stays usable and the next
// save writes a good value over the bad one.
int32_t StoredNumber(GrabBaseClass& store, const std::string& path, std::string_view name,
                     int32_t fallback) {
    const std::string text = store.GetValue(path, name);
    if (text.empty())
        return fallback;
    try {
        return Number(text);
    } catch (const EConvertError&) {
        Log("AutoItemClass-> " + path + " " + std::string(name) + " \"" + text +
            "\" is not a number, using " + Decimal(fallback));
        return fallback;
    }
}

// "Auto.chl" as it stands; a missing file reads as empty.
void LoadFile(GrabBaseClass& store) {
    std::string message;
    store.LoadFromFile(AutoItemClass::FilePath(), message);
}

std::vector<std::string> SectionNames(GrabBaseClass& store) {
    std::vector<std::string> names;
    store.GetChildNames("/", names);
    return names;
}

} // namespace

std::string AutoItemClass::FilePath() {
    return ProgramFolder() + kFileName;
}

bool AutoItemClass::IsSummary() const {
    return ItemName.find("Summary") != std::string::npos;
}

void AutoItemClass::LoadItem(std::string_view itemName, std::string_view defaultCityKey) {
    GrabBaseClass store;
    LoadFile(store);
    ReadFrom(store, itemName, defaultCityKey);
}

void AutoItemClass::ReadFrom(GrabBaseClass& store, std::string_view itemName,
                             std::string_view defaultCityKey) {
    const std::string path = SectionPath(itemName);
    ItemName = itemName;
    CityKey = store.GetValue(path, "cityname");
    if (CityKey.empty())
        CityKey = defaultCityKey;
    Type = store.GetValue(path, "autotype") == "atSpecific" ? atSpecific : atPeriodic;
    Period = StoredNumber(store, path, "period", 5);
    AtTime = StoredNumber(store, path, "attime", 0);
    TimeLimitEnabled = store.GetValue(path, "timelimitenabled") == "Y";
    ToFile = store.GetValue(path, "tofile") == "Y";
    Enabled = store.GetValue(path, "enabled") == "Y";
    StartTime = StoredNumber(store, path, "starttime", 0);
    EndTime = StoredNumber(store, path, "endtime", 0);
    LastAuto = StoredNumber(store, path, "lastauto", 0);
    LastAutoDate = StoredNumber(store, path, "lastautodate", 0);
}

void AutoItemClass::SaveItem() const {
    SaveItems({*this});
}

void AutoItemClass::SaveItems(const std::vector<AutoItemClass>& items) {
    GrabBaseClass store;
    LoadFile(store);
    for (const AutoItemClass& item : items)
        item.WriteTo(store);
    std::string message;
    store.SaveToFile(FilePath(), message);
}

void AutoItemClass::WriteTo(GrabBaseClass& store) const {
    store.AddKey("/", ItemName);
    const std::string path = SectionPath(ItemName);
    store.SetValue(path, "CityName", CityKey);
    store.SetValue(path, "AutoType", Type == atSpecific ? "atSpecific" : "atPeriodic");
    store.SetValue(path, "Period", Decimal(Period));
    store.SetValue(path, "atTime", Decimal(AtTime));
    store.SetValue(path, "TimeLimitEnabled", YesNo(TimeLimitEnabled));
    store.SetValue(path, "ToFile", YesNo(ToFile));
    store.SetValue(path, "Enabled", YesNo(Enabled));
    store.SetValue(path, "startTime", Decimal(StartTime));
    store.SetValue(path, "endTime", Decimal(EndTime));
    store.SetValue(path, "LastAuto", Decimal(LastAuto));
    if (LastAutoDate != 0)
        store.SetValue(path, "LastAutoDate", Decimal(LastAutoDate));
}

void AutoItemClass::ListItemNames(std::string_view cityFilter, std::vector<std::string>& names) {
    names.clear();
    GrabBaseClass store;
    LoadFile(store);
    for (std::string& section : SectionNames(store))
        if (cityFilter.empty() || store.GetValue(SectionPath(section), "CityName") == cityFilter)
            names.push_back(std::move(section));
}

bool AutoItemClass::InTimeWindow(int now) const {
    if (!TimeLimitEnabled)
        return true;
    if (StartTime <= EndTime)
        return StartTime <= now && now <= EndTime;
    return !(EndTime < now && now < StartTime); // a window across midnight
}

bool AutoItemClass::FiresAt(int now, int today, const std::vector<std::string>& myCityKeys) const {
    if (!Enabled)
        return false;
    if (!IsSummary() && !UtilsClass::InList(myCityKeys, CityKey))
        return false;
    if (Type == atSpecific) {
        // Once a day: the same slot seen again that day means the clock went back.
        if (now != AtTime || (LastAutoDate == today && LastAuto == now))
            return false;
    } else if (LastAuto < now && int64_t{LastAuto} + Period > now) {
        return false; // plain HHMM arithmetic: the period has not run out yet
    }
    return InTimeWindow(now);
}

bool AutoItemClass::IsDue(int now, int today, const std::vector<std::string>& myCityKeys) {
    if (!FiresAt(now, today, myCityKeys))
        return false;
    LastAuto = now;
    LastAutoDate = today;
    try {
        SaveItem();
    } catch (const std::system_error& error) {
        Log("AutoItemClass-> cannot save " + ItemName + ": " + error.what());
    }
    return true;
}

void AutoItemClass::CollectDue(int now, int today, const std::vector<std::string>& myCityKeys,
                               std::vector<AutoItemClass>& due) {
    due.clear();
    GrabBaseClass store;
    LoadFile(store);
    for (const std::string& name : SectionNames(store)) {
        AutoItemClass item;
        item.ReadFrom(store, name, "");
        if (item.IsDue(now, today, myCityKeys))
            due.push_back(std::move(item));
    }
}

} // namespace olv
