#include "data/ShippedFile.h"
#include "platform/Files.h"

#include <cctype>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace olv {
namespace {

// "02134;Allston;MA;Massachusetts;42.3539;-71.1337" from "#02134;...;-71.1337;": the six fields
// of a line, or none when the line does not have that form.
std::vector<std::string> ZipFields(const std::string& line) {
    std::vector<std::string> fields;
    if (line.size() < 2 || line.front() != '#' || line.back() != ';')
        return fields;
    size_t start = 1;
    for (size_t end; (end = line.find(';', start)) != std::string::npos; start = end + 1)
        fields.push_back(line.substr(start, end - start));
    return fields.size() == 6 ? fields : std::vector<std::string>();
}

// The retrieval script joins the lines and looks for "#ZIP;": the fields keep every record
// apart, and each ZIP is there once, in order.
TEST(ZipTable, EveryLineHasTheFixedFormAndEveryStateIsThere) {
    const std::string text = test::ReadShippedFile("ZipCodes.dat");
    EXPECT_EQ(test::FirstNonAsciiByte(text), std::string::npos);
    std::map<std::string, std::string> known = {
        {"02134", "Allston;MA;Massachusetts"},
        {"90210", "Beverly Hills;CA;California"},
        {"20001", "Washington;DC;District of Columbia"},
        {"99501", "Anchorage;AK;Alaska"},
        {"96860", "Jbphh;HI;Hawaii"}}; // listed twice in the source: the base, then a Navy code
    std::set<std::string> states;
    std::string previous;
    size_t lines = 0;
    for (const std::string& line : SplitLines(text)) {
        ++lines;
        const std::vector<std::string> f = ZipFields(line);
        ASSERT_EQ(f.size(), 6u) << "line " << lines << ": " << line;
        EXPECT_TRUE(f[0].size() == 5 && f[0].find_first_not_of("0123456789") == std::string::npos)
            << line;
        // "#" starts a record and ";" ends a field.
        EXPECT_TRUE(test::IsPlainText(f[1], "#;") && test::IsPlainText(f[3], "#;")) << line;
        EXPECT_TRUE(f[2].size() == 2 && std::isupper(f[2][0]) && std::isupper(f[2][1])) << line;
        EXPECT_TRUE(test::IsCoordinate(f[4], 90) && test::IsCoordinate(f[5], 180)) << line;
        EXPECT_LT(previous, f[0]) << "out of order or twice at line " << lines;
        EXPECT_TRUE(f[1].rfind("APO", 0) != 0 && f[1].rfind("FPO", 0) != 0) << line; // military
        if (const auto entry = known.find(f[0]); entry != known.end()) {
            EXPECT_EQ(f[1] + ";" + f[2] + ";" + f[3], entry->second);
            known.erase(entry);
        }
        previous = f[0];
        states.insert(f[2]);
    }
    EXPECT_GE(lines, 40000u);
    for (const auto& [zip, entry] : known)
        ADD_FAILURE() << "missing " << zip << ";" << entry;
    EXPECT_GE(states.size(), 51u); // every state and the District of Columbia
}

} // namespace
} // namespace olv
