// The shipped retrieval script against real weather-service responses served on loopback, and
// what the spoken reports make of them.

#include "platform/Files.h"
#include "platform/Paths.h"
#include "report/IntroClass.h"
#include "report/TalkDataClass.h"
#include "scripts/ScriptClass.h"
#include "support/ServiceResponses.h"
#include "support/TempDir.h"
#include "support/http/HttpTestServer.h"
#include "util/Strings.h"
#include "util/UtilsClass.h"
#include "weather/CityDataClass.h"
#include "weather/CityRetriever.h"
#include "weather/LocationListClass.h"
#include "weather/WeatherUtils.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace olv {
namespace {

namespace fs = std::filesystem;
using test::HttpTestRequest;
using test::HttpTestResponse;

// A program folder with the shipped script and tables, and a server answering every request
// with the page the test chose.
class RetrievalScript : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* file : {"Olvenar.chl", "Lookup.dat", "ZipCodes.dat"})
            fs::copy_file(std::string(OLVENAR_DATA_DIR) + "/" + file, folder.File(file));
        SetProgramFolder(folder.Folder());
    }
    void TearDown() override { SetProgramFolder(""); }

    void Serve(std::string body) {
        server.SetHandler([body](const HttpTestRequest&) {
            return HttpTestResponse::Ok(body, "application/json");
        });
    }

    // Runs "WUFore" for a listed city whose page address has the given path and query, or for
    // a ZIP code, whose forecast the server gives.
    int RunCity(const std::string& pathAndQuery, const std::string& zip = "") {
        results.Clear();
        results.Put("CityURL", zip.empty() ? server.Url(pathAndQuery) : zip);
        if (!zip.empty()) {
            results.Put("DOINGZIP", "Y");
            results.Put("ZIP", zip);
            results.Put("NWSPointURL", server.Url(pathAndQuery));
        }
        ScriptClass script;
        script.LoadScript(folder.File("Olvenar.chl"), "WUFore", results);
        return script.Run();
    }
    // The temporary pages a run left in the program folder.
    long Leftovers() const {
        return std::count_if(fs::directory_iterator(folder.Path()), fs::directory_iterator(),
                             [](const auto& entry) { return entry.path().extension() == ".html"; });
    }

    std::string R(const std::string& name) const { return results.Get(name); }

    // The conditions report of the last run, with the default options.
    std::string Report(bool metric = false) const {
        CityDataClass record("Europe|Somewhere|Town");
        record.LoadFromResults(results);
        return TalkDataClass().ConditionsText(record, IntroClass(), metric);
    }

    test::TempDir folder;
    test::HttpTestServer server{
        [](const HttpTestRequest&) { return HttpTestResponse::Status(404, "Not Found"); }};
    NVListClass results;
};

const std::string kNwsAddress = "/MapClick.php?lat=13.4719&lon=144.7498&FcstType=json";
const std::string kMeteoAddress =
    "/v1/forecast?latitude=49.9&longitude=50.0&current=temperature_2m&temperature_unit=fahrenheit";
const std::string kOpening = "Here are the current conditions for Town, Somewhere, ";

TEST_F(RetrievalScript, NationalWeatherServicePage) {
    Serve(test::ServiceResponse(test::kNwsHagatna));
    ASSERT_EQ(RunCity(kNwsAddress), 0) << R("ErrorMessage");
    // Its report is read to the character by the olvenar-report tests.
    EXPECT_EQ(R("ForecastCounter") + "; " + R("FHeader12") + ": " + R("FText12"),
              "13; Wednesday: Partly sunny, with a high near 89.");
    EXPECT_EQ(Leftovers(), 0);

    // Odd but present values: an afternoon stamp, no wind, no wind direction.
    const std::string page = UtilsClass::ReplaceAll(test::ServiceResponse(test::kNwsHagatna),
                                                    "\"Date\":\"4 Aug 08:45 am ChST\"",
                                                    "\"Date\":\"18 Jun 23:53 pm EDT\"");
    Serve(UtilsClass::ReplaceAll(page, "\"Winds\":\"8\"", "\"Winds\":\"0\""));
    ASSERT_EQ(RunCity(kNwsAddress), 0) << R("ErrorMessage");
    EXPECT_EQ(R("Wind") + "; " + R("ConditionsTime"), "Calm; 11:53 PM EDT on 18 Jun");
    Serve(UtilsClass::ReplaceAll(page, "\"Windd\":\"360\"", "\"Windd\":\"NA\""));
    ASSERT_EQ(RunCity(kNwsAddress), 0);
    EXPECT_EQ(R("Wind"), "Varied");
}

// Whatever the service leaves out, the report says "Unknown" where the value would stand:
// never an empty gap, a made-up number, or the value of an older retrieval.
TEST_F(RetrievalScript, ObservationsTheServiceLeftOutAreReadAsUnknown) {
    const std::string unknown =
        "The Temperature is Unknown degrees.  Humidity is Unknown percent.  "
        "Current DewPoint is Unknown degrees.  Wends are Unknown.  The Pressure is Unknown "
        "inches.  Conditions are Unknown.  Visibility is Unknown.  ";
    std::string nws = test::ServiceResponse(test::kNwsHagatna);
    for (const char* field :
         {"Date", "Temp", "Dewp", "Relh", "Winds", "Windd", "Weather", "Visibility", "SLP"}) {
        const std::string key = "\"" + std::string(field) + "\":\"";
        const size_t start = nws.find(key, nws.find("\"currentobservation\"")) + key.size();
        nws.replace(start, nws.find('"', start) - start, "NA");
    }
    Serve(nws);
    ASSERT_EQ(RunCity(kNwsAddress), 0) << R("ErrorMessage");
    EXPECT_EQ(R("ConditionsTime"), "Unknown");
    EXPECT_EQ(Report(), kOpening + ".  " + unknown);
    EXPECT_EQ(Report(true),
              kOpening + ".  " + UtilsClass::ReplaceAll(unknown, " inches.", " hectopascals."));

    // Open-Meteo gives null for what it lacks.
    std::string meteo = test::ServiceResponse(test::kMeteoStorm);
    const size_t current = meteo.find("\"current\":{");
    meteo.replace(current, meteo.find('}', current) - current,
                  "\"current\":{\"time\":\"2025-02-05T21:15\",\"temperature_2m\":null,"
                  "\"relative_humidity_2m\":null,\"dew_point_2m\":null,\"weather_code\":null,"
                  "\"pressure_msl\":null,\"wind_speed_10m\":null,\"wind_direction_10m\":null,"
                  "\"visibility\":null");
    Serve(meteo);
    ASSERT_EQ(RunCity(kMeteoAddress), 0) << R("ErrorMessage");
    EXPECT_EQ(Report(), kOpening + " at 9:15 PM Central Europe Time.  " + unknown);
}

TEST_F(RetrievalScript, OpenMeteoPages) {
    // The program asks for the dew point and visibility as current values too.
    Serve(UtilsClass::ReplaceAll(
        test::ServiceResponse(test::kMeteoStorm), "\"wind_gusts_10m\":23.8}",
        "\"wind_gusts_10m\":23.8,\"dew_point_2m\":75.4,\"visibility\":24140.00}"));
    ASSERT_EQ(RunCity(kMeteoAddress), 0) << R("ErrorMessage");
    EXPECT_EQ(Report(), kOpening + " at 9:15 PM Central Europe Time.  "
                                   "The Temperature is 28 degrees.  Humidity is 83 percent.  "
                                   "Current DewPoint is 75 degrees.  "
                                   "Wends are from the South West at 14 miles per hour.  "
                                   "The Pressure is 29.83 inches.  Conditions are Thunderstorm.  "
                                   "Visibility is 15 miles.  ");

    // Below zero; visibility only hourly here, never taken from another block.
    Serve(test::ServiceResponse(test::kMeteoCold));
    ASSERT_EQ(RunCity(kMeteoAddress), 0) << R("ErrorMessage");
    EXPECT_EQ(Report(), kOpening + " at 9:15 PM Central Europe Time.  "
                                   "The Temperature is -7 degrees.  Humidity is 81 percent.  "
                                   "Current DewPoint is Unknown degrees.  "
                                   "Wends are from the East North East at 16 miles per hour.  "
                                   "The Pressure is 30.50 inches.  Conditions are Overcast.  "
                                   "Visibility is Unknown.  ");
    EXPECT_EQ(R("ForecastCounter") + ": " + R("FHeader0") + "; " + R("FHeader1") + ": " +
                  R("FText1") + "; " + R("FHeader6") + ": " + R("FText6"),
              "7: Today; Tomorrow: Overcast. High -3, low -8.; February 11: Snow grains. High -2, "
              "low -7.");
    EXPECT_EQ(Leftovers(), 0);
}

// The service names a zone only by its offset ("GMT+2"); the report says the zone's usual name,
// and nothing where the zone has none.
TEST_F(RetrievalScript, OpenMeteoTimesAreSpokenWithTheZonesUsualName) {
    const auto zone = [](const std::string& name, const std::string& offset) {
        return "\"utc_offset_seconds\":" + offset + ",\"timezone\":\"" + name + "\"";
    };
    const std::string cold = test::ServiceResponse(test::kMeteoCold);
    const std::pair<std::string, std::string> pages[] = {
        {test::ServiceResponse("open-meteo-forecast-croatia-45.6N-17.22E.json"),
         " at 1:00 AM Central Europe Summer Time.  "},
        {UtilsClass::ReplaceAll(cold, zone("Europe/Berlin", "3600"), zone("Asia/Tokyo", "32400")),
         " at 9:15 PM Japan Standard Time.  "},
        {UtilsClass::ReplaceAll(cold, zone("Europe/Berlin", "3600"), zone("Asia/Dubai", "14400")),
         " at 9:15 PM.  "},
    };
    for (const auto& [page, spoken] : pages) {
        Serve(page);
        ASSERT_EQ(RunCity(kMeteoAddress), 0) << R("ErrorMessage");
        EXPECT_TRUE(StartsWith(Report(), kOpening + spoken)) << Report();
    }
}

// Every zone of the lookup table has a name the reports can say in full.
TEST(LookupTable, EveryZoneAbbreviationHasASpokenName) {
    std::string table;
    ASSERT_TRUE(ReadWholeFile(std::string(OLVENAR_DATA_DIR) + "/Lookup.dat", table));
    size_t zones = 0;
    const std::regex zoneLine("#Z[^;]*;([^;]*);"); // "#ZAsia/Tokyo 32400;JST;"
    const std::regex abbreviation("[A-Z]{2}"); // two capitals in a row are read letter by letter
    std::smatch zone;
    for (const std::string& line : SplitLines(table)) {
        if (!std::regex_match(line, zone, zoneLine))
            continue;
        ++zones;
        const std::string spoken = WeatherUtils::ExpandTimeZones(zone[1].str());
        EXPECT_FALSE(std::regex_search(spoken, abbreviation)) << line << " is read as " << spoken;
    }
    EXPECT_GT(zones, 300u);
}

TEST_F(RetrievalScript, ZipCodesGoToTheWeatherServiceWithTheirCoordinates) {
    Serve(test::ServiceResponse(test::kNwsHagatna));
    ASSERT_EQ(RunCity("/MapClick.php", "02134"), 0) << R("ErrorMessage");
    EXPECT_EQ(R("ZipName"), "Allston, Massachusetts");
    EXPECT_EQ(server.LastRequest().target, "/MapClick.php?lat=42.3535&lon=-71.1329&FcstType=json");
    EXPECT_EQ(R("CityURL"), server.Url("/MapClick.php?lat=42.3535&lon=-71.1329&FcstType=json"));

    EXPECT_EQ(RunCity("/MapClick.php", "00000"), 2);
    EXPECT_EQ(R("ErrorMessage"), "ZIP code 00000 is not in the ZIP code table");
    EXPECT_EQ(server.RequestCount(), 1u); // nothing asked for the unknown ZIP

    // The window and olvenar-report tell the user the script's own reason.
    LocationListClass locations;
    CityRetriever retriever(locations);
    retriever.RetrieveCity("ZIP:00000");
    EXPECT_EQ(retriever.LastFailureReason(), "ZIP code 00000 is not in the ZIP code table");
}

TEST_F(RetrievalScript, FailuresEndWithAMessageAndResultTwo) {
    Serve("<html><body>Service unavailable</body></html>");
    EXPECT_EQ(RunCity(kNwsAddress), 2);
    EXPECT_EQ(R("ErrorMessage"), "The weather page has no current observation");
    EXPECT_EQ(RunCity(kMeteoAddress), 2);
    EXPECT_EQ(R("ErrorMessage"), "The weather page has no current conditions");
    EXPECT_EQ(Leftovers(), 0);

    // A page cut off anywhere ends the run, and never as a failure without a reason.
    for (const std::string& name : {test::kNwsHagatna, test::kMeteoCold}) {
        const std::string page = test::ServiceResponse(name);
        for (size_t length : {page.size() / 4, page.size() / 2, page.size() - 40}) {
            Serve(page.substr(0, length));
            const int result = RunCity(name == test::kNwsHagatna ? kNwsAddress : kMeteoAddress);
            EXPECT_TRUE(result == 0 || (result == 2 && !R("ErrorMessage").empty()))
                << name << " cut at " << length;
        }
    }

    EXPECT_EQ(RunCity("/somewhere/else?x=1"), 2);
    EXPECT_EQ(R("ErrorMessage"),
              "No weather service is known for the address " + server.Url("/somewhere/else?x=1"));
}

} // namespace
} // namespace olv
