#include "data/ShippedFile.h"
#include "platform/Files.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace olv {
namespace {

struct ZipEntry {
    std::string Zip, Place, State, StateName, Latitude, Longitude;
};

// "#02134;Allston;MA;Massachusetts;42.3539;-71.1337;" split into its six fields; false when the
// line does not have that form.
bool ParseZipLine(const std::string& line, ZipEntry& entry) {
    if (line.size() < 2 || line.front() != '#' || line.back() != ';')
        return false;
    std::vector<std::string> fields;
    size_t start = 1;
    for (size_t end; (end = line.find(';', start)) != std::string::npos; start = end + 1)
        fields.push_back(line.substr(start, end - start));
    if (fields.size() != 6)
        return false;
    entry = {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    return true;
}

// Five digits.
bool IsZip(const std::string& text) {
    return text.size() == 5 && text.find_first_not_of("0123456789") == std::string::npos;
}

// A field the script can find: "#" starts a record and ";" ends a field.
bool IsPlainField(const std::string& text) {
    if (text.empty() || text.front() == ' ' || text.back() == ' ')
        return false;
    for (const char c : text)
        if (c < 0x20 || c > 0x7e || c == '#' || c == ';' || c == '|' || c == '<' || c == '>')
            return false;
    return true;
}

const std::string& ShippedText() {
    static const std::string text = test::ReadShippedFile("ZipCodes.dat");
    return text;
}

// Every entry by ZIP; a line of the wrong form fails the test that reads it.
const std::map<std::string, ZipEntry>& Entries() {
    static const std::map<std::string, ZipEntry> entries = [] {
        std::map<std::string, ZipEntry> byZip;
        for (const std::string& line : SplitLines(ShippedText()))
            if (ZipEntry entry; ParseZipLine(line, entry))
                byZip.emplace(entry.Zip, entry);
        return byZip;
    }();
    return entries;
}

const std::set<std::string> kStates = {
    "AK", "AL", "AR", "AZ", "CA", "CO", "CT", "DC", "DE", "FL", "GA", "HI", "IA",
    "ID", "IL", "IN", "KS", "KY", "LA", "MA", "MD", "ME", "MI", "MN", "MO", "MS",
    "MT", "NC", "ND", "NE", "NH", "NJ", "NM", "NV", "NY", "OH", "OK", "OR", "PA",
    "RI", "SC", "SD", "TN", "TX", "UT", "VA", "VT", "WA", "WI", "WV", "WY"};
const std::set<std::string> kTerritories = {"AS", "GU", "MP", "PR", "VI"};

// The retrieval script joins the lines and looks for "#ZIP;": the fields keep every record
// apart, and each ZIP is there once.
TEST(ZipTable, EveryLineHasTheFixedFormInZipOrder) {
    const std::string& text = ShippedText();
    EXPECT_EQ(test::FirstNonAsciiByte(text), std::string::npos);
    EXPECT_EQ(test::FirstForeignLineEnd(text, "\n"), std::string::npos);
    EXPECT_TRUE(!text.empty() && text.back() == '\n');

    std::string previous;
    size_t lineNumber = 0;
    for (const std::string& line : SplitLines(text)) {
        ++lineNumber;
        ZipEntry entry;
        ASSERT_TRUE(ParseZipLine(line, entry)) << "line " << lineNumber << ": " << line;
        EXPECT_TRUE(IsZip(entry.Zip)) << line;
        EXPECT_TRUE(IsPlainField(entry.Place) && IsPlainField(entry.StateName)) << line;
        EXPECT_TRUE(kStates.count(entry.State) || kTerritories.count(entry.State)) << line;
        EXPECT_TRUE(test::IsCoordinate(entry.Latitude, 90)) << line;
        EXPECT_TRUE(test::IsCoordinate(entry.Longitude, 180)) << line;
        EXPECT_LT(previous, entry.Zip) << "out of order or twice at line " << lineNumber;
        previous = entry.Zip;
    }
    EXPECT_GE(lineNumber, 40000u);
}

TEST(ZipTable, HasKnownZipsAndEveryStateButNoMilitaryMailCodes) {
    for (const char* known :
         {"02134;Allston;MA;Massachusetts", "90210;Beverly Hills;CA;California",
          "10001;New York;NY;New York", "20001;Washington;DC;District of Columbia",
          "99501;Anchorage;AK;Alaska",
          // Listed twice in the source: the base, then a Navy mail code.
          "96860;Jbphh;HI;Hawaii"}) {
        const auto found = Entries().find(std::string(known, 5));
        ASSERT_NE(found, Entries().end()) << known;
        const ZipEntry& entry = found->second;
        EXPECT_EQ(entry.Zip + ";" + entry.Place + ";" + entry.State + ";" + entry.StateName, known);
    }
    std::set<std::string> states;
    for (const auto& [zip, entry] : Entries()) {
        states.insert(entry.State);
        EXPECT_NE(entry.Place.rfind("APO", 0), 0u) << zip;
        EXPECT_NE(entry.Place.rfind("FPO", 0), 0u) << zip;
    }
    for (const std::string& state : kStates)
        EXPECT_TRUE(states.count(state)) << state;
}

} // namespace
} // namespace olv
