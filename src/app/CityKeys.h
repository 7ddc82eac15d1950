#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace olv {

// Rules for the city keys the window makes from its lists and keeps in its settings.
class CityKeys {
public:
    static constexpr size_t kMaxRecentCities = 10;
    static constexpr size_t kZipLength = 5;
    static constexpr const char* kInvalidZip = "Invalid Zip Code Entered";
    static constexpr const char* kNoCitySelected = "Please select a city from the list.";

    // A region as offered in the region list, up to " (" ("United States (by List)" gives
    // "United States").
    static std::string RegionPart(std::string_view regionText);
    static std::string GlobalKey(std::string_view regionText, std::string_view state,
                                 std::string_view city);
    // "ZIP:" + the field's text when it is exactly five characters long (letters pass too:
    // the retrieval tells the user when a code is unknown); else empty.
    static std::string ZipKey(std::string_view zipField);

    // Appends key to the recent cities unless it is there; the oldest goes when the list
    // would grow past ten.
    static void RememberRecent(std::vector<std::string>& recent, const std::string& key);
};

} // namespace olv
