#include "platform/Paths.h"
#include "support/TempDir.h"
#include "weather/CityDataClass.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

const std::string kBoston = "United States|MA|Boston";

// Each test works in a program folder of its own.
class CityData : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(dir.Folder()); }
    void TearDown() override { SetProgramFolder(""); }

    static void Save(const CityDataClass& record) {
        record.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + record.FullName);
    }
    static CityDataClass Stored(const std::string& key) {
        CityDataClass record(key);
        record.LoadRecord(CityDataClass::kMyCitiesDataFile, "/" + key);
        return record;
    }

    test::TempDir dir;
};

// What a failed run leaves out reads as missing in the reports (the retrieval tests show the
// words); here the cuts and the damaged count.
TEST_F(CityData, FillsGapsOfAFailedRunAndCutsLongValues) {
    NVListClass results;
    results.Put("Wind", std::string(50, 'w'));
    results.Put("Conditions", "Thunderstorms and heavy rain");
    results.Put("ConditionsTime", "Last Updated 9:00");
    results.Put("ForecastCounter", "two"); // a damaged count loses the periods, not the record
    CityDataClass record("ZIP:90210");
    record.LoadFromResults(results);
    EXPECT_EQ(record.Wind, std::string(40, 'w'));
    EXPECT_EQ(record.Conditions + "; " + record.ConditionsTime + "; " + record.Humidity + "; " +
                  record.Temperature + "; " + record.ZIP,
              "Thunderstorms and he; Last Updated 9:00; Unknown; ; 90210");
    EXPECT_TRUE(record.ForecastHeader.empty());
}

// Storing a retrieved record and reading it back is shown with real pages by the olvenar-report
// tests; here the layout of the file and what the reading leaves out.
TEST_F(CityData, RoundTripsThroughTheMyCitiesFile) {
    CityDataClass record(kBoston);
    record.Name = "Boston";
    record.DewPoint = "30";
    record.Temperature = "45"; // else it reads as never updated
    record.Conditions = "Partly Cloudy<br>";
    record.Link = "http://example.test/boston";
    record.ForecastHeader = {"Tonight", "Friday"};
    record.ForecastText = {"Cloudy.", "Windy...cold."};
    record.HasData = true;
    Save(record);

    const CityDataClass loaded = Stored(kBoston);
    EXPECT_EQ(loaded.Name + "; " + loaded.Conditions + "; " + loaded.Temperature + "; " +
                  loaded.DewPoint + "; " + loaded.Link,
              "Boston; Partly Cloudy; 45; 30; http://example.test/boston");
    EXPECT_EQ(loaded.ForecastHeader, record.ForecastHeader);
    EXPECT_EQ(loaded.ForecastText, record.ForecastText);
    EXPECT_FALSE(loaded.HasData);

    const std::string text = dir.Read("MyCitiesData.chl");
    EXPECT_EQ(text.substr(0, 26), "<Revision>1,0</Revision>\r\n");
    EXPECT_NE(text.find("  <key =United States|MA|Boston>\r\n"), std::string::npos);
    EXPECT_NE(text.find("    <DewPoint>30</DewPoint>\r\n"), std::string::npos);
    EXPECT_NE(text.find("  </key >\r\n"), std::string::npos);
}

// A damaged count breaks neither loading nor saving. (That a save keeps the stored values of
// empty fields and leaves no stale periods is the data-file store's, proven by its tests.)
TEST_F(CityData, DamagedCountsNeitherBreakLoadingNorSaving) {
    dir.Write("MyCitiesData.chl", "<key =" + kBoston +
                                      "><Temperature>50</Temperature>"
                                      "<ForecastHeader>many</ForecastHeader></key >");
    EXPECT_TRUE(Stored(kBoston).ForecastHeader.empty());
    CityDataClass record(kBoston);
    record.ForecastHeader = {"Tonight"};
    record.ForecastText = {"Clear."};
    Save(record);
    const CityDataClass loaded = Stored(kBoston);
    EXPECT_EQ(loaded.ForecastHeader, record.ForecastHeader);
    EXPECT_EQ(loaded.Temperature, "50");
}

TEST_F(CityData, OtherCitiesKeepTheirRecordsAndNeverUpdatedOnesAskForAnUpdate) {
    dir.Write("MyCitiesData.chl", "<key =" + kBoston + "><Conditions>Sunny</Conditions></key >");
    EXPECT_EQ(Stored(kBoston).Conditions, "Click Update All to Load");
    CityDataClass boston(kBoston);
    boston.Temperature = "45";
    Save(boston);
    CityDataClass zip("ZIP:90210");
    zip.Name = "Beverly Hills";
    zip.Temperature = "80";
    Save(zip);

    EXPECT_EQ(Stored(kBoston).Temperature + Stored("ZIP:90210").Temperature, "4580");
    EXPECT_EQ(CityDataClass::GetCityNameForZip("ZIP:90210"), "Beverly Hills");
    for (const std::string& key : {std::string("ZIP:10001"), kBoston})
        EXPECT_EQ(CityDataClass::GetCityNameForZip(key), "") << key;
}

} // namespace
} // namespace olv
