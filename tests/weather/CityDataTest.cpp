#include "platform/Paths.h"
#include "scripts/GrabBaseClass.h"
#include "support/TempDir.h"
#include "weather/CityDataClass.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

const std::string kBoston = "United States|MA|Boston";

NVListClass BostonResults() {
    NVListClass results;
    results.Put("ConditionsTime", "3:53 PM EST on December 5");
    results.Put("Temperature", "45");
    results.Put("Dewpoint", "30");
    results.Put("Wind", "NW at 10 mph");
    results.WriteList("ForecastCounter", "FHeader", {"Tonight", "Friday"});
    results.Put("FText0", "Cloudy.");
    results.Put("FText1", "Windy...cold.");
    results.Put("CityURL", "http://example.test/boston");
    return results;
}

// Each test works in a program folder of its own.
class CityData : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(dir.Folder()); }
    void TearDown() override { SetProgramFolder(""); }

    CityDataClass Stored(const std::string& key) {
        CityDataClass record(key);
        record.LoadRecord(CityDataClass::kMyCitiesDataFile, "/" + key);
        return record;
    }

    test::TempDir dir;
};

TEST_F(CityData, FillsGapsOfAFailedRunAndCutsLongValues) {
    NVListClass results;
    results.Put("Wind", std::string(50, 'w'));
    results.Put("Conditions", "Thunderstorms and heavy rain");
    results.Put("ConditionsTime", "Last Updated 9:00");
    results.Put("ForecastCounter", "two"); // a damaged count loses the periods, not the record
    CityDataClass record("ZIP:90210");
    record.LoadFromResults(results);
    EXPECT_EQ(record.Wind, std::string(40, 'w'));
    EXPECT_EQ(record.Conditions, "Thunderstorms and he");
    EXPECT_EQ(record.ConditionsTime, "Last Updated 9:00");
    EXPECT_EQ(record.Humidity, "Unknown");
    EXPECT_EQ(record.DewPoint, "Unknown");
    EXPECT_EQ(record.Temperature, "");
    EXPECT_TRUE(record.ForecastHeader.empty());
    EXPECT_EQ(record.ZIP, "90210");
}

TEST_F(CityData, TakesTheResultsOfARetrievalAndRoundTripsThroughTheMyCitiesFile) {
    CityDataClass record(kBoston);
    record.LoadFromResults(BostonResults());
    EXPECT_EQ(record.ConditionsTime, "3:53 PM EST");
    EXPECT_EQ(record.DewPoint, "30");
    EXPECT_EQ(record.ForecastHeader, (std::vector<std::string>{"Tonight", "Friday"}));
    EXPECT_EQ(record.ForecastText, (std::vector<std::string>{"Cloudy.", "Windy...cold."}));
    EXPECT_TRUE(record.HasData);
    EXPECT_EQ(record.ZIP, "");
    record.Name = "Boston";
    record.Conditions = "Partly Cloudy<br>";
    record.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + kBoston);

    const CityDataClass loaded = Stored(kBoston);
    EXPECT_EQ(loaded.Name, "Boston");
    EXPECT_EQ(loaded.Conditions, "Partly Cloudy");
    EXPECT_EQ(loaded.Temperature, "45");
    EXPECT_EQ(loaded.Wind, "NW at 10 mph");
    EXPECT_EQ(loaded.Link, "http://example.test/boston");
    EXPECT_EQ(loaded.ForecastHeader, record.ForecastHeader);
    EXPECT_EQ(loaded.ForecastText, record.ForecastText);
    EXPECT_FALSE(loaded.HasData);

    const std::string text = dir.Read("MyCitiesData.chl");
    EXPECT_EQ(text.substr(0, 26), "<Revision>1,0</Revision>\r\n");
    EXPECT_NE(text.find("  <key =United States|MA|Boston>\r\n"), std::string::npos);
    EXPECT_NE(text.find("    <DewPoint>30</DewPoint>\r\n"), std::string::npos);
    EXPECT_NE(text.find("  </key >\r\n"), std::string::npos);
}

TEST_F(CityData, EmptyFieldsKeepStoredValuesAndShortForecastsLeaveNoStalePeriods) {
    CityDataClass first(kBoston);
    first.Visibility = "10";
    first.Temperature = "40";
    first.ForecastHeader = {"1", "2", "3", "4", "5", "6", "7"};
    first.ForecastText = first.ForecastHeader;
    first.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + kBoston);

    CityDataClass second(kBoston);
    second.Temperature = "41";
    second.ForecastHeader = {"a", "b", "c", "d", "e"};
    second.ForecastText = second.ForecastHeader;
    second.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + kBoston);

    GrabBaseClass store;
    std::string message;
    store.LoadFromFile(dir.File("MyCitiesData.chl"), message);
    const std::string path = "/" + kBoston;
    EXPECT_EQ(store.GetValue(path, "Visibility"), "10");
    EXPECT_EQ(store.GetValue(path, "Temperature"), "41");
    EXPECT_EQ(store.GetValue(path, "ForecastHeader"), "5");
    EXPECT_FALSE(store.Root.Find(path)->NV.Has("ForecastHeader5"));
    EXPECT_FALSE(store.Root.Find(path)->NV.Has("ForecastText6"));
    EXPECT_EQ(Stored(kBoston).ForecastHeader, second.ForecastHeader);
}

TEST_F(CityData, OtherCitiesKeepTheirRecordsAndNeverUpdatedOnesAskForAnUpdate) {
    EXPECT_EQ(Stored(kBoston).Conditions, "Click Update All to Load");
    dir.Write("MyCitiesData.chl", "<key =" + kBoston + "><Conditions>Sunny</Conditions></key >");
    EXPECT_EQ(Stored(kBoston).Conditions, "Click Update All to Load");

    CityDataClass boston(kBoston);
    boston.Temperature = "45";
    boston.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + kBoston);
    CityDataClass zip("ZIP:90210");
    zip.Name = "Beverly Hills";
    zip.Temperature = "80";
    zip.SaveRecord(CityDataClass::kMyCitiesDataFile, "/ZIP:90210");

    EXPECT_EQ(Stored(kBoston).Temperature, "45");
    EXPECT_EQ(Stored("ZIP:90210").Temperature, "80");
    EXPECT_EQ(CityDataClass::GetCityNameForZip("ZIP:90210"), "Beverly Hills");
    EXPECT_EQ(CityDataClass::GetCityNameForZip("ZIP:10001"), "");
    EXPECT_EQ(CityDataClass::GetCityNameForZip(kBoston), "");
}

TEST_F(CityData, DamagedCountsNeitherBreakLoadingNorSaving) {
    dir.Write("MyCitiesData.chl", "<key =" + kBoston +
                                      "><Temperature>50</Temperature>"
                                      "<ForecastHeader>many</ForecastHeader></key >");
    EXPECT_TRUE(Stored(kBoston).ForecastHeader.empty());
    CityDataClass record(kBoston);
    record.ForecastHeader = {"Tonight"};
    record.ForecastText = {"Clear."};
    record.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + kBoston);
    const CityDataClass loaded = Stored(kBoston);
    EXPECT_EQ(loaded.ForecastHeader, record.ForecastHeader);
    EXPECT_EQ(loaded.Temperature, "50");
}

} // namespace
} // namespace olv
