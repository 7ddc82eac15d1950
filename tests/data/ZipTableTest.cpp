#include "data/ShippedFile.h"
#include "platform/Files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace olv {
namespace {

struct ZipEntry {
    std::string zip, place, state, stateName, latitude, longitude;
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

bool IsDigits(const std::string& text, size_t count) {
    if (text.size() != count)
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

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
        for (const std::string& line : SplitLines(ShippedText())) {
            ZipEntry entry;
            if (ParseZipLine(line, entry))
                byZip.emplace(entry.zip, entry);
        }
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

TEST(ZipTable, IsPlainAsciiWithLfLineEnds) {
    const std::string& text = ShippedText();
    EXPECT_EQ(test::FirstNonAsciiByte(text), std::string::npos);
    EXPECT_EQ(test::FirstForeignLineEnd(text, "\n"), std::string::npos);
    EXPECT_TRUE(!text.empty() && text.back() == '\n');
}

TEST(ZipTable, EveryLineHasTheFixedFormInZipOrder) {
    std::string previous;
    size_t lineNumber = 0;
    for (const std::string& line : SplitLines(ShippedText())) {
        ++lineNumber;
        ZipEntry entry;
        ASSERT_TRUE(ParseZipLine(line, entry)) << "line " << lineNumber << ": " << line;
        EXPECT_TRUE(IsDigits(entry.zip, 5)) << line;
        EXPECT_TRUE(IsPlainField(entry.place)) << line;
        EXPECT_TRUE(kStates.count(entry.state) || kTerritories.count(entry.state)) << line;
        EXPECT_TRUE(IsPlainField(entry.stateName)) << line;
        EXPECT_TRUE(test::IsCoordinate(entry.latitude, 90)) << line;
        EXPECT_TRUE(test::IsCoordinate(entry.longitude, 180)) << line;
        EXPECT_LT(previous, entry.zip) << "out of order or twice at line " << lineNumber;
        previous = entry.zip;
    }
    EXPECT_GE(lineNumber, 40000u);
    EXPECT_EQ(Entries().size(), lineNumber);
}

TEST(ZipTable, HasKnownZipsAndEveryState) {
    const std::vector<std::vector<std::string>> known = {
        {"02134", "Allston", "MA", "Massachusetts"},
        {"90210", "Beverly Hills", "CA", "California"},
        {"10001", "New York", "NY", "New York"},
        {"20001", "Washington", "DC", "District of Columbia"},
        {"99501", "Anchorage", "AK", "Alaska"}};
    for (const auto& expected : known) {
        const auto found = Entries().find(expected[0]);
        ASSERT_NE(found, Entries().end()) << expected[0];
        EXPECT_EQ(found->second.place, expected[1]);
        EXPECT_EQ(found->second.state, expected[2]);
        EXPECT_EQ(found->second.stateName, expected[3]);
    }
    // Allston lies in Boston: the coordinates are those of the place, not of some other ZIP.
    const ZipEntry& allston = Entries().at("02134");
    EXPECT_NEAR(std::strtod(allston.latitude.c_str(), nullptr), 42.35, 0.02);
    EXPECT_NEAR(std::strtod(allston.longitude.c_str(), nullptr), -71.13, 0.02);

    std::set<std::string> states;
    for (const auto& [zip, entry] : Entries())
        states.insert(entry.state);
    for (const std::string& state : kStates)
        EXPECT_TRUE(states.count(state)) << state;
}

TEST(ZipTable, LeavesOutMilitaryMailCodes) {
    for (const auto& [zip, entry] : Entries()) {
        EXPECT_NE(entry.place.rfind("APO", 0), 0u) << zip;
        EXPECT_NE(entry.place.rfind("FPO", 0), 0u) << zip;
    }
    // 96860 is listed twice in the source: once for the base, once as a Navy mail code.
    ASSERT_TRUE(Entries().count("96860"));
    EXPECT_EQ(Entries().at("96860").state, "HI");
}

// The retrieval script joins all lines without line breaks, skips to "#ZIP;" and reads the
// fields up to the next "#": that must find exactly the ZIP's own record.
TEST(ZipTable, JoinedTextFindsEachRecordByItsMarker) {
    std::string joined;
    for (const std::string& line : SplitLines(ShippedText()))
        joined += line;
    for (const char* zip : {"02134", "90210", "10001"}) {
        const std::string marker = std::string("#") + zip + ";";
        const size_t at = joined.find(marker);
        ASSERT_NE(at, std::string::npos) << zip;
        EXPECT_EQ(joined.find(marker, at + 1), std::string::npos) << zip;
        const size_t next = joined.find('#', at + 1);
        const std::string record = joined.substr(at, next - at);
        ZipEntry entry;
        ASSERT_TRUE(ParseZipLine(record, entry)) << record;
        EXPECT_EQ(entry.zip, zip);
    }
}

} // namespace
} // namespace olv
