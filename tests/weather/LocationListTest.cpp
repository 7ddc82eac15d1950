#include "platform/Paths.h"
#include "support/TempDir.h"
#include "weather/LocationListClass.h"
#include "weather/WeatherUtils.h"

#include <gtest/gtest.h>
#include <system_error>

namespace olv {
namespace {

const std::string kPrototype = OLVENAR_FIXTURES_DIR "/weather/OVDef-prototype.chl";

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

TEST_F(LocationList, KeepsCompleteCitiesOfATruncatedFile) {
    // LF line ends, no closing "Up" lines, and a last city cut short.
    const auto catalogue = Catalogue(Lines({"header", "Asia", "Japan", "Tokyo", "a1", "x", "y",
                                            "Osaka", "a2", "x", "y", "Kyoto", "a3"},
                                           "\n"));
    const auto items = catalogue.ReadItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].Key, "Asia|Japan|Osaka");
    EXPECT_EQ(items[1].URL, "a2");
}

TEST_F(LocationList, UpIsCaseSensitiveAndEndsEachLevel) {
    const auto catalogue =
        Catalogue(Lines({"header", "Europe", "France",  "Paris", "p",      "x", "y", "up", "u",
                         "x",      "y",      "Up",      "Spain", "Madrid", "m", "x", "y",  "Up",
                         "Up",     "Up",     "Ignored", "S",     "C",      "c", "x", "y"}));
    const auto items = catalogue.ReadItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].Key, "Europe|France|up");
    EXPECT_EQ(items[2].Key, "Europe|Spain|Madrid");
}

TEST_F(LocationList, FillsSortedDistinctStatesAndCities) {
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
}

TEST_F(LocationList, FewRegionsStillGetTheZipEntry) {
    const auto catalogue = Catalogue(Lines({"h", "Zeta", "S", "C", "u", "x", "y", "Up", "Up",
                                            "Alpha", "S", "C", "u", "x", "y", "Up", "Up", "Up"}));
    catalogue.FillRegions(list);
    EXPECT_EQ(list, (std::vector<std::string>{"Alpha", "Zeta", "United States (by Zip Code)"}));
}

TEST_F(LocationList, FindsCitiesByTheirExactKeyButNoZipKeys) {
    const auto catalogue =
        Catalogue(Lines({"h", "Asia", "Japan", "Tokyo", "t", "x", "y", "Up", "Up", "Up"}));
    const auto found = catalogue.Find("Asia|Japan|Tokyo");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->Name, "Tokyo");
    EXPECT_EQ(found->URL, "t");
    EXPECT_EQ(found->Region(), "Asia");
    EXPECT_EQ(found->State(), "Japan");
    EXPECT_FALSE(catalogue.Find("asia|japan|tokyo").has_value());
    EXPECT_FALSE(catalogue.Find("Asia|Japan").has_value());
    EXPECT_EQ(catalogue.GetRandomKey(), "Asia|Japan|Tokyo");

    // A ZIP key is answered without reading the catalogue at all.
    const LocationListClass missing(dir.File("absent.chl"));
    EXPECT_FALSE(missing.Find("ZIP:90210").has_value());
}

TEST_F(LocationList, MissingCatalogueIsAnError) {
    const LocationListClass missing(dir.File("absent.chl"));
    EXPECT_THROW(missing.FillRegions(list), std::system_error);
    EXPECT_THROW(missing.Find("Asia|Japan|Tokyo"), std::system_error);

    SetProgramFolder(dir.Folder());
    dir.Write("OVDef.chl", "header only\r\n");
    EXPECT_EQ(LocationListClass().GetRandomKey(), "");
    SetProgramFolder("");
}

TEST(ShippedCatalogue, PutsTheUnitedStatesWhereTheWindowLooks) {
    const LocationListClass catalogue(kPrototype);
    std::vector<std::string> regions;
    catalogue.FillRegions(regions);
    ASSERT_EQ(regions.size(), 14u);
    EXPECT_EQ(regions[0], "Africa");
    EXPECT_EQ(regions[12], "United States (by List)");
    EXPECT_EQ(regions[13], "United States (by Zip Code)");

    std::vector<std::string> states;
    catalogue.FillStates(states, WeatherUtils::StripParen(regions[12]));
    EXPECT_GE(states.size(), 50u);

    std::vector<std::string> cities;
    catalogue.FillCities(cities, "Africa", "Algeria");
    ASSERT_FALSE(cities.empty());
    EXPECT_EQ(cities[0], "Aflou");
    const auto algiers = catalogue.Find("Africa|Algeria|Algiers");
    ASSERT_TRUE(algiers.has_value());
    EXPECT_EQ(algiers->URL, "http://HOST/PATH?lat=36.7323&lon=3.0875");
    EXPECT_EQ(catalogue.ReadItems().size(), 4602u);
}

} // namespace
} // namespace olv
