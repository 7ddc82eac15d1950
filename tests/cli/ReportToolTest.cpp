// olvenar-report as its users run it: the real program, a program folder and a settings folder
// of its own, and the weather services played by a loopback server.

#include "platform/Files.h"
#include "support/ServiceResponses.h"
#include "support/TempDir.h"
#include "support/ToolRunner.h"
#include "support/http/HttpTestServer.h"
#include "util/Strings.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

using test::HttpTestRequest;
using test::HttpTestResponse;

class ReportTool : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string nws = server.Url("/MapClick.php?lat=13.4719&lon=144.7498&FcstType=json");
        const std::string meteo = server.Url("/v1/forecast?latitude=49.9&longitude=50.0&current=x");
        home.Write("OVDef.chl", "Test catalogue\r\n"
                                "Asia\r\nKazakhstan\r\nAtyrau\r\n" +
                                    meteo +
                                    "\r\n49.9\r\n50.0\r\nUp\r\nUp\r\n"
                                    "United States\r\nGuam\r\nHagatna\r\n" +
                                    nws +
                                    "\r\n13.47\r\n144.75\r\n"
                                    "Dededo\r\n" +
                                    server.Url(kMissingPage) +
                                    "\r\n13.5\r\n144.8\r\nUp\r\nUp\r\nUp\r\n");
    }

    test::ToolRun Run(std::vector<std::string> arguments) {
        return test::RunTool("olvenar-report", arguments,
                             {"OLVENAR_HOME=" + home.Folder(),
                              "OLVENAR_CONFIG_DIR=" + config.Folder(),
                              "OLVENAR_SHIPPED_DATA=" + std::string(OLVENAR_DATA_DIR)},
                             home.Folder());
    }

    test::TempDir home;
    test::TempDir config;
    static constexpr const char* kMissingPage =
        "/MapClick.php?lat=13.5&lon=144.8&FcstType=json&gone";

    test::HttpTestServer server{[](const HttpTestRequest& request) {
        if (request.target == kMissingPage)
            return HttpTestResponse::Status(404, "Not Found");
        if (StartsWith(request.target, "/MapClick.php"))
            return HttpTestResponse::Ok(test::ServiceResponse(test::kNwsHagatna),
                                        "application/json");
        if (StartsWith(request.target, "/v1/forecast"))
            return HttpTestResponse::Ok(test::ServiceResponse(test::kMeteoCold),
                                        "application/json");
        return HttpTestResponse::Status(404, "Not Found");
    }};
};

const std::string kHagatna = "United States|Guam|Hagatna";
const char* const kConditions =
    "Here are the current conditions for Hagatna, Guam,  at 8:45 AM ChST.  "
    "The Temperature is 77 degrees.  Humidity is 100 percent.  "
    "Current DewPoint is 77 degrees.  Wends are from the North at 8 miles per hour.  "
    "The Pressure is 29.73 inches.  Conditions are Rain Fog/Mist.  "
    "Visibility is 5 miles.  \n";

TEST_F(ReportTool, ReadsTheConditionsOfACity) {
    const test::ToolRun outcome = Run({kHagatna});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out, kConditions);
    // The shipped files were copied into the new program folder; the test's catalogue was kept.
    EXPECT_TRUE(FileExists(home.File("Olvenar.chl")));
    EXPECT_EQ(home.Read("OVDef.chl").substr(0, 14), "Test catalogue");
}

TEST_F(ReportTool, MetricUnitsFromTheOptionOrTheSetting) {
    const char* const metric =
        "Here are the current conditions for Hagatna, Guam,  at 8:45 AM ChST.  "
        "The Temperature is 25 degrees.  Humidity is 100 percent.  "
        "Current DewPoint is 25 degrees.  Wends are from the North at 13 kilometers per hour.  "
        "The Pressure is 1007 hectopascals.  Conditions are Rain Fog/Mist.  "
        "Visibility is 8 kilometers.  \n";
    EXPECT_EQ(Run({"--metric", kHagatna}).Out, metric);

    config.Write("registry", "[Software\\HalvernWorks\\Olvenar]\nsz:Celcius=true\n");
    EXPECT_EQ(Run({kHagatna}).Out, metric);
}

TEST_F(ReportTool, ForecastAndSummaryWithTheCitysOwnOptionsAndLeadIns) {
    const test::ToolRun forecast = Run({"--forecast", kHagatna});
    EXPECT_EQ(forecast.Status, 0) << forecast.Err;
    EXPECT_TRUE(StartsWith(forecast.Out,
                           "The forecast for Hagatna, Guam,  Today,  Showers likely and possibly "
                           "a thunderstorm.  Mostly cloudy"))
        << forecast.Out;
    EXPECT_NE(forecast.Out.find(", Wednesday,  Partly sunny, with a high near 89.\n"),
              std::string::npos);

    home.Write("TalkData.chl",
               "<key =United States|Guam|Hagatna>\r\n<Temperature>Y</Temperature>\r\n"
               "<Humidity>N</Humidity><Dewpoint>N</Dewpoint><Wind>N</Wind>"
               "<Pressure>N</Pressure><Conditions>N</Conditions><Visibility>N</Visibility>"
               "<ConditionsTime>N</ConditionsTime><Forecast>Y</Forecast></key >\r\n");
    home.Write("Intro.chl", "<Temperature>It is</Temperature>\r\n");
    const test::ToolRun summary = Run({"--summary", kHagatna});
    EXPECT_TRUE(StartsWith(
        summary.Out, "Here are the current conditions for Hagatna, Guam, .  It is 77 degrees.  "
                     "The forecast for Hagatna, Guam,  Today,  "))
        << summary.Out;
}

TEST_F(ReportTool, CitiesOfOpenMeteo) {
    const test::ToolRun meteo = Run({"Asia|Kazakhstan|Atyrau"});
    EXPECT_EQ(meteo.Status, 0) << meteo.Err;
    EXPECT_TRUE(StartsWith(meteo.Out,
                           "Here are the current conditions for Atyrau, Kazakhstan,  at 9:15 PM "
                           "Central Europe Time.  The Temperature is -7 degrees."))
        << meteo.Out;
}

TEST_F(ReportTool, FailuresAreExplainedAndEndNonZero) {
    test::ToolRun outcome = Run({"United States|Guam|Dededo"});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_EQ(outcome.Out, "");
    EXPECT_NE(
        outcome.Err.find("download failed, URL=" + server.Url(kMissingPage) + " - Error:Not Found"),
        std::string::npos)
        << outcome.Err;

    outcome = Run({"ZIP:123"});
    EXPECT_EQ(outcome.Status, 64);
    EXPECT_NE(outcome.Err.find("Invalid Zip Code Entered"), std::string::npos);

    outcome = Run({"Asia|Japan|Tokyo"});
    EXPECT_EQ(outcome.Status, 64);
    EXPECT_NE(outcome.Err.find("Unable to find location Asia|Japan|Tokyo"), std::string::npos);

    outcome = Run({"--frobnicate"});
    EXPECT_EQ(outcome.Status, 64);
    EXPECT_NE(outcome.Err.find("usage:"), std::string::npos);

    // One bad city does not keep the others from being read.
    outcome = Run({"United States|Guam|Dededo", kHagatna});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_EQ(outcome.Out, kConditions);
}

TEST_F(ReportTool, FindListsTheKeysOfMatchingCities) {
    test::ToolRun outcome = Run({"--find", "ATNA"});
    EXPECT_EQ(outcome.Status, 0);
    EXPECT_EQ(outcome.Out, "United States|Guam|Hagatna\n");
    outcome = Run({"--find", "Springfield"});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_EQ(outcome.Out, "");
}

TEST_F(ReportTool, MyCitiesAreStoredAndReadAsASummary) {
    home.Write(
        "MyCities.chl",
        "<MyCitiesList>2</MyCitiesList><MyCitiesList0>United States|Guam|Hagatna</MyCitiesList0>"
        "<MyCitiesList1>Asia|Kazakhstan|Atyrau</MyCitiesList1>");
    test::ToolRun outcome = Run({"--my-cities"});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Out.find("Conditions are Click Update All to Load."), std::string::npos)
        << outcome.Out;

    outcome = Run({"--store", "--my-cities"});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Out.find("for Atyrau, Kazakhstan,  at 9:15 PM"), std::string::npos)
        << outcome.Out;
    EXPECT_NE(outcome.Out.find("for Hagatna, Guam,  at 8:45 AM ChST"), std::string::npos)
        << outcome.Out;
    const std::string stored = home.Read("MyCitiesData.chl");
    EXPECT_NE(stored.find("<Temperature>77</Temperature>"), std::string::npos);
    EXPECT_NE(stored.find("<ForecastHeader>13</ForecastHeader>"), std::string::npos);
}

} // namespace
} // namespace olv
