#include "platform/Paths.h"
#include "support/TempDir.h"
#include "weather/MyCitiesClass.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

using Texts = std::vector<std::string>;

class MyCities : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(dir.Folder()); }
    void TearDown() override { SetProgramFolder(""); }

    // Saves keys and reads them back, as the window does after every change.
    void SaveAndLoad(const Texts& keys) {
        cities.Load();
        cities.Keys = keys;
        cities.Save();
        cities.Load();
    }

    test::TempDir dir;
    MyCitiesClass cities;
};

TEST_F(MyCities, SortsByDisplayNameWithUpperCaseFirst) {
    SaveAndLoad({"1|B|zeta", "2|B|Alpha"});
    EXPECT_EQ(cities.Keys, (Texts{"2|B|Alpha", "1|B|zeta"}));
    EXPECT_EQ(cities.DisplayNames, (Texts{"Alpha, B, 2", "zeta, B, 1"}));
    EXPECT_EQ(MyCitiesClass::DisplayNameOf("ZIP:90210"), "ZIP code 90210");
}

// The sort is stable and moves the keys with their names; keys are found exactly.
TEST_F(MyCities, SortKeepsKeysWithTheirNames) {
    SaveAndLoad({"E|S|Paris", "ZIP:90210", "A|S|Paris", "E|S|Berlin", "A|S|Paris", "E|S|paris"});
    EXPECT_EQ(cities.Keys, (Texts{"E|S|Berlin", "A|S|Paris", "A|S|Paris", "E|S|Paris", "ZIP:90210",
                                  "E|S|paris"}));
    for (size_t i = 0; i < cities.Keys.size(); ++i)
        EXPECT_EQ(cities.DisplayNames[i], MyCitiesClass::DisplayNameOf(cities.Keys[i]));
    EXPECT_EQ(cities.IndexOf("E|S|paris"), 5);
    EXPECT_EQ(cities.IndexOf("E|S|PARIS"), -1);
}

TEST_F(MyCities, StoresTheSortedListAndEmptiesCleanly) {
    SaveAndLoad({"b|b|b", "a|a|a"});
    cities.Save();
    const std::string text = dir.Read("MyCities.chl");
    EXPECT_NE(text.find("<MyCitiesList>2</MyCitiesList>"), std::string::npos);
    EXPECT_NE(text.find("<MyCitiesList0>a|a|a</MyCitiesList0>"), std::string::npos);

    SaveAndLoad({});
    EXPECT_TRUE(cities.Keys.empty());
    EXPECT_EQ(dir.Read("MyCities.chl"), "<MyCitiesList>0</MyCitiesList>\r\n");
}

TEST_F(MyCities, DamagedCountKeepsTheCitiesThatAreThere) {
    dir.Write("MyCities.chl", "<MyCitiesList>x</MyCitiesList><MyCitiesList0>b|b|b</MyCitiesList0>"
                              "<MyCitiesList1>a|a|a</MyCitiesList1>");
    cities.Load();
    EXPECT_EQ(cities.Keys, (Texts{"a|a|a", "b|b|b"}));
    cities.Save();
    cities.Load();
    EXPECT_EQ(cities.Keys.size(), 2u);
    dir.Write("MyCities.chl", "<MyCitiesList>2147483647</MyCitiesList>"
                              "<MyCitiesList0>b|b|b</MyCitiesList0>");
    cities.Load();
    EXPECT_EQ(cities.Keys, (Texts{"b|b|b"}));
}

} // namespace
} // namespace olv
