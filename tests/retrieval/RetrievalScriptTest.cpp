// The shipped retrieval script against real weather-service responses served on loopback.

#include "platform/Files.h"
#include "platform/Paths.h"
#include "scripts/ScriptClass.h"
#include "support/ServiceResponses.h"
#include "support/TempDir.h"
#include "support/http/HttpTestServer.h"
#include "util/UtilsClass.h"
#include "weather/CityDataClass.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace olv {
namespace {

using test::HttpTestRequest;
using test::HttpTestResponse;

// A program folder with the shipped script and tables, and a server answering every request
// with the page the test chose.
class RetrievalScript : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* file : {"Olvenar.chl", "Lookup.dat", "ZipCodes.dat"})
            std::filesystem::copy_file(std::string(OLVENAR_DATA_DIR) + "/" + file,
                                       folder.File(file));
        SetProgramFolder(folder.Folder());
    }
    void TearDown() override { SetProgramFolder(""); }

    void Serve(std::string body) {
        server.SetHandler([body](const HttpTestRequest&) {
            return HttpTestResponse::Ok(body, "application/json");
        });
    }

    // Runs "WUFore" for a listed city whose page address has the given path and query.
    int RunCity(const std::string& pathAndQuery) {
        results.Clear();
        results.Put("CityURL", server.Url(pathAndQuery));
        return RunScript();
    }

    int RunZip(const std::string& zip) {
        results.Clear();
        results.Put("DOINGZIP", "Y");
        results.Put("ZIP", zip);
        results.Put("CityURL", zip);
        results.Put("NWSPointURL", server.Url("/MapClick.php"));
        return RunScript();
    }

    int RunScript() {
        ScriptClass script;
        script.LoadScript(folder.File("Olvenar.chl"), "WUFore", results);
        const int result = script.Run();
        leftovers.clear();
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            if (entry.path().extension() == ".html")
                leftovers.push_back(entry.path().filename().string());
        return result;
    }

    std::string R(const std::string& name) const { return results.Get(name); }

    test::TempDir folder;
    test::HttpTestServer server{
        [](const HttpTestRequest&) { return HttpTestResponse::Status(404, "Not Found"); }};
    NVListClass results;
    std::vector<std::string> leftovers;
};

const std::string kNwsAddress = "/MapClick.php?lat=13.4719&lon=144.7498&FcstType=json";
const std::string kMeteoAddress =
    "/v1/forecast?latitude=49.9&longitude=50.0&current=temperature_2m&temperature_unit=fahrenheit";

TEST_F(RetrievalScript, NationalWeatherServicePage) {
    Serve(test::ServiceResponse(test::kNwsHagatna));
    ASSERT_EQ(RunCity(kNwsAddress), 0) << R("ErrorMessage");
    EXPECT_EQ(R("ErrorMessage"), "");
    EXPECT_EQ(R("ConditionsTime"), "8:45 AM ChST on 4 Aug");
    EXPECT_EQ(R("Temperature"), "77");
    EXPECT_EQ(R("Dewpoint"), "77");
    EXPECT_EQ(R("Humidity"), "100");
    EXPECT_EQ(R("Wind"), "North at 8 mph");
    EXPECT_EQ(R("Pressure"), "29.73");
    EXPECT_EQ(R("Conditions"), "Rain Fog/Mist");
    EXPECT_EQ(R("Visibility"), "5");
    EXPECT_EQ(R("ForecastTime"), "8:45 AM ChST on 4 Aug");
    EXPECT_EQ(R("ForecastCounter"), "13");
    EXPECT_EQ(R("FHeader0"), "Today");
    EXPECT_EQ(R("FHeader3"), "Friday Night");
    EXPECT_EQ(R("FHeader12"), "Wednesday");
    EXPECT_EQ(R("FText12"), "Partly sunny, with a high near 89.");
    EXPECT_EQ(R("FText0").substr(0, 44), "Showers likely and possibly a thunderstorm. ");
    EXPECT_TRUE(leftovers.empty());

    // The request is the one the page address names.
    EXPECT_EQ(server.LastRequest().target, kNwsAddress);

    // What the record makes of it.
    CityDataClass record("United States|Guam|Hagatna");
    record.LoadFromResults(results);
    EXPECT_EQ(record.ConditionsTime, "8:45 AM ChST");
    EXPECT_EQ(record.ForecastHeader.size(), 13u);
}

TEST_F(RetrievalScript, NationalWeatherServiceOddValues) {
    std::string page = test::ServiceResponse(test::kNwsHagatna);
    page = UtilsClass::ReplaceAll(page, "\"Winds\":\"8\"", "\"Winds\":\"0\"");
    page = UtilsClass::ReplaceAll(page, "\"Temp\":\"77\"", "\"Temp\":\"-5\"");
    page = UtilsClass::ReplaceAll(page, "\"Dewp\":\"77\"", "\"Dewp\":\"NA\"");
    page = UtilsClass::ReplaceAll(page, "\"Relh\":\"100\"", "\"Relh\":\"\"");
    page = UtilsClass::ReplaceAll(page, "\"Date\":\"4 Aug 08:45 am ChST\"",
                                  "\"Date\":\"18 Jun 23:53 pm EDT\"");
    Serve(page);
    ASSERT_EQ(RunCity(kNwsAddress), 0) << R("ErrorMessage");
    EXPECT_EQ(R("Wind"), "Calm");
    EXPECT_EQ(R("Temperature"), "-5");
    EXPECT_EQ(R("Dewpoint"), "");
    EXPECT_EQ(R("Humidity"), "");
    EXPECT_EQ(R("ConditionsTime"), "11:53 PM EDT on 18 Jun");

    page = UtilsClass::ReplaceAll(page, "\"Windd\":\"360\"", "\"Windd\":\"NA\"");
    page = UtilsClass::ReplaceAll(page, "\"Winds\":\"0\"", "\"Winds\":\"12\"");
    Serve(page);
    ASSERT_EQ(RunCity(kNwsAddress), 0);
    EXPECT_EQ(R("Wind"), "Varied");

    CityDataClass record("United States|Guam|Hagatna");
    record.LoadFromResults(results);
    EXPECT_EQ(record.Humidity, "Unknown");
    EXPECT_EQ(record.DewPoint, "Unknown");
}

TEST_F(RetrievalScript, OpenMeteoPage) {
    Serve(test::ServiceResponse(test::kMeteoCold));
    ASSERT_EQ(RunCity(kMeteoAddress), 0) << R("ErrorMessage");
    EXPECT_EQ(R("ConditionsTime"), "9:15 PM GMT+1 on February 5");
    EXPECT_EQ(R("Temperature"), "-7");
    EXPECT_EQ(R("Humidity"), "81");
    EXPECT_EQ(R("Dewpoint"), "");   // not asked for in this response
    EXPECT_EQ(R("Visibility"), ""); // only hourly here: never taken from another block
    EXPECT_EQ(R("Conditions"), "Overcast");
    EXPECT_EQ(R("Pressure"), "30.50");
    EXPECT_EQ(R("Wind"), "ENE at 16 mph");
    EXPECT_EQ(R("ForecastCounter"), "7");
    const std::map<std::string, std::string> expected = {
        {"FHeader0", "Today"},       {"FText0", "Overcast. High -3, low -8."},
        {"FHeader1", "Tomorrow"},    {"FText1", "Overcast. High -3, low -8."},
        {"FHeader2", "February 7"},  {"FText2", "Overcast. High -2, low -7."},
        {"FHeader3", "February 8"},  {"FText3", "Clear. High -2, low -8."},
        {"FHeader6", "February 11"}, {"FText6", "Snow grains. High -2, low -7."},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(R(name), value) << name;
    EXPECT_TRUE(leftovers.empty());
}

TEST_F(RetrievalScript, OpenMeteoWithEveryCurrentValue) {
    std::string page = test::ServiceResponse(test::kMeteoStorm);
    // The program asks for the dew point and visibility as current values too.
    page = UtilsClass::ReplaceAll(
        page, "\"wind_gusts_10m\":23.8}",
        "\"wind_gusts_10m\":23.8,\"dew_point_2m\":75.4,\"visibility\":24140.00}");
    Serve(page);
    ASSERT_EQ(RunCity(kMeteoAddress), 0) << R("ErrorMessage");
    EXPECT_EQ(R("Temperature"), "28");
    EXPECT_EQ(R("Dewpoint"), "75");
    EXPECT_EQ(R("Visibility"), "15");
    EXPECT_EQ(R("Conditions"), "Thunderstorm");
    EXPECT_EQ(R("Pressure"), "29.83");
    EXPECT_EQ(R("Wind"), "SW at 14 mph");
}

TEST_F(RetrievalScript, ZipCodesGoToTheWeatherServiceWithTheirCoordinates) {
    Serve(test::ServiceResponse(test::kNwsHagatna));
    ASSERT_EQ(RunZip("02134"), 0) << R("ErrorMessage");
    EXPECT_EQ(R("ZipName"), "Allston, Massachusetts");
    EXPECT_EQ(server.LastRequest().target, "/MapClick.php?lat=42.3535&lon=-71.1329&FcstType=json");
    EXPECT_EQ(R("CityURL"), server.Url("/MapClick.php?lat=42.3535&lon=-71.1329&FcstType=json"));
    EXPECT_EQ(R("Temperature"), "77");

    const size_t requests = server.RequestCount();
    EXPECT_EQ(RunZip("00000"), 2);
    EXPECT_EQ(R("ErrorMessage"),
              "Label not found - LabelName=ZIP code 00000 is not in the ZIP code table");
    EXPECT_EQ(server.RequestCount(), requests);
}

TEST_F(RetrievalScript, FailuresEndWithAMessageAndResultTwo) {
    EXPECT_EQ(RunCity(kNwsAddress), 2); // the server answers 404
    EXPECT_EQ(R("ErrorMessage"),
              "download failed, URL=" + server.Url(kNwsAddress) + " - Error:Not Found");
    EXPECT_TRUE(leftovers.empty());

    Serve("<html><body>Service unavailable</body></html>");
    EXPECT_EQ(RunCity(kNwsAddress), 2);
    EXPECT_EQ(R("ErrorMessage"),
              "Label not found - LabelName=The weather page has no current observation");
    EXPECT_EQ(RunCity(kMeteoAddress), 2);
    EXPECT_EQ(R("ErrorMessage"),
              "Label not found - LabelName=The weather page has no current conditions");
    EXPECT_TRUE(leftovers.empty());

    EXPECT_EQ(RunCity("/somewhere/else?x=1"), 2);
    EXPECT_EQ(R("ErrorMessage"),
              "Label not found - LabelName=No weather service is known for the address " +
                  server.Url("/somewhere/else?x=1"));
}

TEST_F(RetrievalScript, CutOffPagesNeverFailTheRunOrHangIt) {
    for (const std::string& name : {test::kNwsHagatna, test::kMeteoCold, test::kMeteoStorm}) {
        const std::string page = test::ServiceResponse(name);
        for (size_t length : {page.size() / 4, page.size() / 2, page.size() - 40}) {
            Serve(page.substr(0, length));
            const int result = RunCity(name == test::kNwsHagatna ? kNwsAddress : kMeteoAddress);
            EXPECT_TRUE(result == 0 || result == 2) << name << " cut at " << length;
            if (result == 2) {
                EXPECT_NE(R("ErrorMessage"), "") << name << " cut at " << length;
            }
        }
    }
}

} // namespace
} // namespace olv
