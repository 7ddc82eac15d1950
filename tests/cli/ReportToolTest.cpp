// olvenar-report as its users run it: the real program, a program folder and a settings folder
// of its own, and the weather services played by a loopback server. (The reports' wording is
// TalkDataTest's; here the program's options, texts in the terminal's encoding, My Cities and
// the failures.)

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
        // A city name in Latin-1, as a catalogue update may bring one.
        std::string catalogue;
        // clang-format off
        for (const std::string& line : std::vector<std::string>{"Test catalogue", "Asia", "Kazakhstan", "Atyrau", meteo,
                 "49.9", "50.0", "Aqt\xf6" "be", meteo, "50.3", "57.2", "Up", "Up", "United States",
                 "Guam", "Hagatna", nws, "13.47", "144.75", "Dededo", server.Url(kMissingPage),
                 "13.5", "144.8", "Up", "Up", "Up"})
            // clang-format on
            catalogue += line + "\r\n";
        home.Write("OVDef.chl", catalogue);
    }

    // The terminal speaks UTF-8.
    test::ToolRun Run(std::vector<std::string> arguments) {
        return test::RunTool(
            "olvenar-report", arguments,
            {"OLVENAR_HOME=" + home.Folder(), "OLVENAR_CONFIG_DIR=" + config.Folder(),
             "OLVENAR_SHIPPED_DATA=" + std::string(OLVENAR_DATA_DIR), "LC_ALL=C.UTF-8"},
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
        return HttpTestResponse::Ok(test::ServiceResponse(test::kMeteoCold), "application/json");
    }};
};

const std::string kHagatna = "United States|Guam|Hagatna";
const std::string kAtyrau = "Asia|Kazakhstan|Atyrau";
const char* const kConditions =
    "Here are the current conditions for Hagatna, Guam,  at 8:45 AM ChST.  "
    "The Temperature is 77 degrees.  Humidity is 100 percent.  "
    "Current DewPoint is 77 degrees.  Wends are from the North at 8 miles per hour.  "
    "The Pressure is 29.73 inches.  Conditions are Rain Fog/Mist.  "
    "Visibility is 5 miles.  \n";

TEST_F(ReportTool, ReadsTheReportOfTheKindAndUnitsAsked) {
    test::ToolRun outcome = Run({kHagatna});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out, kConditions);

    EXPECT_TRUE(StartsWith(Run({"--forecast", kHagatna}).Out,
                           "The forecast for Hagatna, Guam,  Today,  Showers likely"));
    const std::string metric = "The Temperature is 25 degrees.";
    EXPECT_NE(Run({"--metric", kHagatna}).Out.find(metric), std::string::npos);
    config.Write("registry", "[Software\\HalvernWorks\\Olvenar]\nsz:Celcius=true\n");
    EXPECT_NE(Run({kHagatna}).Out.find(metric), std::string::npos);
}

TEST_F(ReportTool, FailuresAreExplainedAndEndNonZero) {
    test::ToolRun outcome = Run({"United States|Guam|Dededo", kHagatna});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_EQ(outcome.Out, kConditions); // one bad city does not keep the others from being read
    // The plain reason on the terminal; the technical one goes to the log.
    EXPECT_NE(outcome.Err.find("Could not reach the weather service for "), std::string::npos)
        << outcome.Err;
    EXPECT_NE(home.Read("olvenar-report.dbg").find("Error:Not Found"), std::string::npos);
    const std::pair<std::vector<std::string>, const char*> refused[] = {
        {{"ZIP:123"}, "ZIP:123: Invalid Zip Code Entered"},
        {{"Asia|Japan|Tokyo"}, "Unable to find location Asia|Japan|Tokyo"},
        {{"--frobnicate"}, "usage:"},
    };
    for (const auto& [arguments, why] : refused) {
        outcome = Run(arguments);
        EXPECT_EQ(outcome.Status, 64);
        EXPECT_NE(outcome.Err.find(why), std::string::npos) << outcome.Err;
    }
}

// The catalogue is Latin-1; the terminal gets UTF-8 and types it back.
TEST_F(ReportTool, TextIsInTheTerminalsEncodingBothWays) {
    test::ToolRun outcome = Run({"--find", "t\xc3\xb6"});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out, "Asia|Kazakhstan|Aqt\xc3\xb6"
                           "be\n");
    outcome = Run({"Asia|Kazakhstan|Aqt\xc3\xb6"
                   "be"});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_TRUE(StartsWith(outcome.Out, "Here are the current conditions for Aqt\xc3\xb6"
                                        "be,"));
    outcome = Run({"--find", "\xc5\x81\xc3\xb3"
                             "d\xc5\xba"}); // Łódź
    EXPECT_EQ(outcome.Status, 64);
    EXPECT_NE(outcome.Err.find("'\xc5\x81\xc3\xb3"
                               "d\xc5\xba' has characters that Olvenar cannot "
                               "use: \xc5\x81\xc5\xba"),
              std::string::npos)
        << outcome.Err;
}

TEST_F(ReportTool, MyCitiesAreChangedStoredAndReadAsASummary) {
    const std::pair<std::vector<std::string>, const char*> changes[] = {
        {{"--add", kHagatna, "--add", kAtyrau}, ""},
        {{"--add", kHagatna}, "Selected city is already in the MyCities List."},
        {{"--add", "ZIP:1234"}, "ZIP:1234: Invalid Zip Code Entered"},
        {{"--add", "Asia|Japan|Tokyo"}, "Asia|Japan|Tokyo: Please select a city from the list."},
        {{"--remove", "ZIP:02134"}, "You must select a city from the MyCities list to remove."},
        {{"--add", "ZIP:02134", "--remove", "ZIP:02134"}, ""},
    };
    for (const auto& [arguments, why] : changes) {
        const test::ToolRun outcome = Run(arguments);
        EXPECT_EQ(outcome.Status == 0, *why == '\0') << outcome.Err;
        EXPECT_NE(outcome.Err.find(why), std::string::npos) << outcome.Err;
    }
    // Sorted by display name: Atyrau before Hagatna.
    EXPECT_EQ(home.Read("MyCities.chl"),
              "<MyCitiesList>2</MyCitiesList>\r\n<MyCitiesList0>Asia|Kazakhstan|Atyrau"
              "</MyCitiesList0>\r\n<MyCitiesList1>United States|Guam|Hagatna</MyCitiesList1>\r\n");

    test::ToolRun outcome = Run({"--my-cities"});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_NE(outcome.Err.find("run olvenar-report --store first"), std::string::npos);
    outcome = Run({"--store", "--my-cities"});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Out.find("for Atyrau, Kazakhstan,  at 9:15 PM"), std::string::npos);
    EXPECT_NE(outcome.Out.find("for Hagatna, Guam,  at 8:45 AM ChST"), std::string::npos);
    EXPECT_NE(home.Read("MyCitiesData.chl").find("<Temperature>77</Temperature>"),
              std::string::npos);
}

} // namespace
} // namespace olv
