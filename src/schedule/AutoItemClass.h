#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

class GrabBaseClass;

// One scheduled reading, kept as the section "/" + ItemName of "Auto.chl" in the program
// folder. Times are HHMM numbers (hour * 100 + minute).
class AutoItemClass {
public:
    static constexpr const char* kFileName = "Auto.chl";

    enum AutoType : uint8_t {
        atPeriodic = 0, // every Period minutes
        atSpecific = 1, // once a day at AtTime
    };

    // Reads the item's section; missing values, and values that are not numbers, take their
    // defaults (the latter are logged). A missing file leaves every default.
    void LoadItem(std::string_view itemName, std::string_view defaultCityKey);
    // Writes the item's section, keeping every other section of the file. Throws
    // std::system_error when the file cannot be written; the old file then stays.
    void SaveItem() const;
    // The same for several items in one replacement of the file.
    static void SaveItems(const std::vector<AutoItemClass>& items);

    // The names of the sections in file order; with a non-empty filter only the items bound
    // to that city.
    static void ListItemNames(std::string_view cityFilter, std::vector<std::string>& names);

    // Whether the item fires in the slot now (HHMM) of the date today (yyyymmdd). A city item
    // fires only while its city is among myCityKeys. When it fires it remembers the slot and
    // saves itself.
    bool IsDue(int now, int today, const std::vector<std::string>& myCityKeys);
    // Every enabled item of the file that is due, in file order.
    static void CollectDue(int now, int today, const std::vector<std::string>& myCityKeys,
                           std::vector<AutoItemClass>& due);

    // Summary items read every My City; the others read one.
    bool IsSummary() const;

    static std::string FilePath();

    std::string CityKey;
    uint8_t Type = atPeriodic;
    std::string ItemName;
    int32_t Period = 5;
    int32_t AtTime = 0;
    bool TimeLimitEnabled = false;
    int32_t StartTime = 0;
    int32_t EndTime = 0;
    bool Enabled = false;
    int32_t LastAuto = 0;
    bool ToFile = false;
    // The date (yyyymmdd) of the day LastAuto belongs to; 0 in files written before it was
    // kept. It keeps a specific-time item from firing twice on a day whose clock went back.
    int32_t LastAutoDate = 0;

private:
    void ReadFrom(GrabBaseClass& store, std::string_view itemName, std::string_view defaultCityKey);
    void WriteTo(GrabBaseClass& store) const;
    bool FiresAt(int now, int today, const std::vector<std::string>& myCityKeys) const;
    bool InTimeWindow(int now) const;
};

} // namespace olv
