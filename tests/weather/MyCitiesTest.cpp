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

// The sort is stable, puts upper case first and moves the keys with their names; keys are
// found exactly.
TEST_F(MyCities, SortsByDisplayNameAndKeepsKeysWithTheirNames) {
    SaveAndLoad({"E|S|Paris", "ZIP:90210", "1|B|zeta", "A|S|Paris", "E|S|Berlin", "A|S|Paris",
                 "E|S|paris", "2|B|Alpha"});
    EXPECT_EQ(cities.Keys, (Texts{"2|B|Alpha", "E|S|Berlin", "A|S|Paris", "A|S|Paris", "E|S|Paris",
                                  "ZIP:90210", "E|S|paris", "1|B|zeta"}));
    for (size_t i = 0; i < cities.Keys.size(); ++i)
        EXPECT_EQ(cities.DisplayNames[i], MyCitiesClass::DisplayNameOf(cities.Keys[i]));
    EXPECT_EQ(cities.DisplayNames.front() + "; " + cities.DisplayNames[5],
              "Alpha, B, 2; ZIP code 90210");
    EXPECT_EQ(cities.IndexOf("E|S|paris"), 6);
    EXPECT_EQ(cities.IndexOf("E|S|PARIS"), -1);
}

// olvenar-report's tests read the file of a stored list to the byte.
TEST_F(MyCities, AnEmptiedListIsStoredAsNone) {
    SaveAndLoad({"b|b|b"});
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
