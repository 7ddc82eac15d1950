#include "platform/Paths.h"
#include "support/TempDir.h"
#include "weather/LocationListClass.h"

#include <gtest/gtest.h>
#include <system_error>

namespace olv {
namespace {

std::string Lines(std::initializer_list<const char*> lines, const char* end = "\r\n") {
    std::string text;
    for (const char* line : lines)
        text.append(line).append(end);
    return text;
}

class LocationList : public ::testing::Test {
protected:
    LocationListClass Catalogue(const std::string& contents) {
        dir.Write("OVDef.chl", contents);
        return LocationListClass(dir.File("OVDef.chl"));
    }

    test::TempDir dir;
    std::vector<std::string> list;
};

TEST_F(LocationList, UpIsCaseSensitiveEndsEachLevelAndMayBeMissingAtTheEnd) {
    const auto catalogue =
        Catalogue(Lines({"header", "Europe", "France",  "Paris", "p",      "x", "y", "up", "u",
                         "x",      "y",      "Up",      "Spain", "Madrid", "m", "x", "y",  "Up",
                         "Up",     "Up",     "Ignored", "S",     "C",      "c", "x"}));
    const auto items = catalogue.ReadItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].Key + " " + items[2].Key + " " + items[2].URL,
              "Europe|France|up Europe|Spain|Madrid m");

    // LF line ends, no closing "Up" lines, and a last city cut short.
    const auto cut =
        Catalogue(Lines({"header", "Asia", "Japan", "Tokyo", "a1", "x", "y", "Osaka", "a2"}, "\n"));
    EXPECT_EQ(cut.ReadItems().size(), 1u);
}

TEST_F(LocationList, FillsSortedDistinctRegionsStatesAndCities) {
    const auto catalogue =
        Catalogue(Lines({"h",     "Asia",  "Japan", "Tokyo", "t",       "x",  "y",  "Osaka", "o",
                         "x",     "y",     "Up",    "China", "Beijing", "b",  "x",  "y",     "Up",
                         "Japan", "akita", "k",     "x",     "y",       "Up", "Up", "Up"}));
    catalogue.FillStates(list, "Asia");
    EXPECT_EQ(list, (std::vector<std::string>{"China", "Japan"}));
    catalogue.FillCities(list, "Asia", "Japan");
    EXPECT_EQ(list, (std::vector<std::string>{"akita", "Osaka", "Tokyo"}));
    catalogue.FillStates(list, "Europe");
    EXPECT_TRUE(list.empty());
    catalogue.FillRegions(list); // too few regions for a thirteenth: the ZIP entry all the same
    EXPECT_EQ(list, (std::vector<std::string>{"Asia", "United States (by Zip Code)"}));
}

TEST_F(LocationList, FindsCitiesByTheirExactKeyButNoZipKeys) {
    const auto catalogue =
        Catalogue(Lines({"h", "Asia", "Japan", "Tokyo", "t", "x", "y", "Up", "Up", "Up"}));
    const auto found = catalogue.Find("Asia|Japan|Tokyo");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->Name + " " + found->URL, "Tokyo t");
    EXPECT_FALSE(catalogue.Find("asia|japan|tokyo").has_value());
    EXPECT_EQ(catalogue.GetRandomKey(), "Asia|Japan|Tokyo");

    // A ZIP key is answered without reading the catalogue at all.
    EXPECT_FALSE(LocationListClass(dir.File("absent.chl")).Find("ZIP:90210").has_value());
}

TEST_F(LocationList, MissingCatalogueIsAnError) {
    const LocationListClass missing(dir.File("absent.chl"));
    EXPECT_THROW(missing.FillRegions(list), std::system_error);

    SetProgramFolder(dir.Folder());
    dir.Write("OVDef.chl", "header only\r\n");
    EXPECT_EQ(LocationListClass().GetRandomKey(), "");
    SetProgramFolder("");
}

} // namespace
} // namespace olv
