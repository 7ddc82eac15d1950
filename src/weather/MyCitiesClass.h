#pragma once

#include "scripts/GrabBaseClass.h"

#include <string>
#include <string_view>
#include <vector>

namespace olv {

// The user's own list of cities, kept in "MyCities.chl" in the program folder, sorted by
// display name. The window changes Keys directly, then calls Save and Load to rebuild and
// sort both lists.
class MyCitiesClass {
public:
    static constexpr const char* kFileName = "MyCities.chl";
    static constexpr const char* kListName = "MyCitiesList";

    // Reads the list; a missing file gives an empty list.
    void Load();
    // Writes the keys in their current order. Throws std::system_error when the file cannot
    // be written; the old file then stays as it was.
    void Save();
    // Index of the first key equal to key (case-sensitive), or -1.
    int IndexOf(std::string_view key) const;

    // "City, State, Region" for "Region|State|City"; "ZIP code 02134" for "ZIP:02134", whose
    // parts are not a place (a retrieved ZIP city is shown by the name stored with it).
    static std::string DisplayNameOf(std::string_view key);

    std::string FilePath() const;

    std::vector<std::string> Keys;
    std::vector<std::string> DisplayNames; // parallel to Keys

private:
    void ReadKeys();
    void Sort();

    GrabBaseClass store_;
};

} // namespace olv
