// olvenar-report as its users run it: the real program, a program folder and a settings folder
// of its own, and the weather services played by a loopback server. (The reports' wording is
// TalkDataTest's; here the program's options, texts in the terminal's encoding, My Cities, the
// failures, and speech: on the null sinks of the real PulseAudio test server, which
// tools/run-tests starts, or into files checked by reading them back.)

#include "platform/Files.h"
#include "speech/support/SoundServer.h"
#include "speech/support/SpeechTestSupport.h"
#include "support/ServiceResponses.h"
#include "support/TempDir.h"
#include "support/ToolRunner.h"
#include "support/audio/Mp3Info.h"
#include "support/http/HttpTestServer.h"
#include "util/Strings.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace olv::test {
namespace {

// Loose enough for a loaded machine; a sanitized build is several times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr auto kListingCpu = std::chrono::milliseconds(1500);
#else
constexpr auto kListingCpu = std::chrono::milliseconds(250);
#endif

class ReportTool : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string meteo = server.Url("/v1/forecast?latitude=49.9&longitude=50.0&current=x");
        // A city name in Latin-1, as a catalogue update may bring one.
        std::string catalogue;
        // clang-format off
        for (const std::string& line : std::vector<std::string>{"Test catalogue", "Asia", "Kazakhstan",
                 "Atyrau", meteo, "49.9", "50.0", "Aqt\xf6" "be", meteo, "50.3", "57.2", "Up", "Up",
                 "United States", "Guam", "Hagatna",
                 server.Url("/MapClick.php?lat=13.4719&lon=144.7498&FcstType=json"), "13.47", "144.75",
                 "Dededo", server.Url(kMissingPage), "13.5", "144.8", "Up", "Up", "Up"})
            // clang-format on
            catalogue += line + "\r\n";
        home.Write("OVDef.chl", catalogue);
        std::filesystem::create_directory(home.File("out"));
    }

    // In the program folder, the terminal speaking UTF-8, with extra NAME=VALUE settings.
    ToolRun Run(const std::vector<std::string>& arguments,
                std::vector<std::string> environment = {}) {
        environment.insert(
            environment.end(),
            {"OLVENAR_HOME=" + home.Folder(), "OLVENAR_CONFIG_DIR=" + config.Folder(),
             "OLVENAR_SHIPPED_DATA=" + std::string(OLVENAR_DATA_DIR), "LC_ALL=C.UTF-8"});
        return RunTool("olvenar-report", arguments, environment, home.Folder());
    }

    TempDir home;
    TempDir config;
    static constexpr const char* kMissingPage =
        "/MapClick.php?lat=13.5&lon=144.8&FcstType=json&gone";

    HttpTestServer server{[](const HttpTestRequest& request) {
        if (request.target == kMissingPage)
            return HttpTestResponse::Status(404, "Not Found");
        if (StartsWith(request.target, "/MapClick.php"))
            return HttpTestResponse::Ok(ServiceResponse(kNwsHagatna), "application/json");
        return HttpTestResponse::Ok(ServiceResponse(kMeteoCold), "application/json");
    }};
};

const std::string kHagatna = "United States|Guam|Hagatna";
const char* const kConditions =
    "Here are the current conditions for Hagatna, Guam,  at 8:45 AM ChST.  "
    "The Temperature is 77 degrees.  Humidity is 100 percent.  "
    "Current DewPoint is 77 degrees.  Wends are from the North at 8 miles per hour.  "
    "The Pressure is 29.73 inches.  Conditions are Rain Fog/Mist.  "
    "Visibility is 5 miles.  \n";

TEST_F(ReportTool, ReadsTheReportOfTheKindAndUnitsAsked) {
    EXPECT_EQ(Run({kHagatna}).Out, kConditions);
    EXPECT_TRUE(StartsWith(Run({"--forecast", kHagatna}).Out,
                           "The forecast for Hagatna, Guam,  Today,  Showers likely"));
    const std::string metric = "The Temperature is 25 degrees.";
    EXPECT_NE(Run({"--metric", kHagatna}).Out.find(metric), std::string::npos);
    config.Write("registry", "[Software\\HalvernWorks\\Olvenar]\nsz:Celcius=true\n");
    EXPECT_NE(Run({kHagatna}).Out.find(metric), std::string::npos);
}

// (Invalid ZIP codes: My Cities below.)
TEST_F(ReportTool, FailuresAreExplainedAndEndNonZero) {
    ToolRun outcome = Run({"United States|Guam|Dededo", kHagatna});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_EQ(outcome.Out, kConditions); // one bad city does not keep the others from being read
    // The plain reason on the terminal; the technical one goes to the log.
    EXPECT_NE(outcome.Err.find("Could not reach the weather service for "), std::string::npos)
        << outcome.Err;
    EXPECT_NE(home.Read("olvenar-report.dbg").find("Error:Not Found"), std::string::npos);
    for (const auto& [argument, why] :
         {std::pair{"Asia|Japan|Tokyo", "Unable to find location Asia|Japan|Tokyo"},
          std::pair{"--frobnicate", "usage:"}}) {
        outcome = Run({argument});
        EXPECT_TRUE(outcome.Status == 64 && outcome.Err.find(why) != std::string::npos)
            << outcome.Status << " " << outcome.Err;
    }
}

// The catalogue and the voice names are Latin-1; the terminal gets UTF-8 and types it back.
TEST_F(ReportTool, TextIsInTheTerminalsEncodingBothWays) {
    const std::string aqtobe = "Asia|Kazakhstan|Aqt\xc3\xb6"
                               "be",
                      lodz = "\xc5\x81\xc3\xb3"
                             "d\xc5\xba";
    ToolRun outcome = Run({"--find", "t\xc3\xb6"});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out, aqtobe + "\n");
    outcome = Run({aqtobe});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_TRUE(
        StartsWith(outcome.Out, "Here are the current conditions for " + aqtobe.substr(16) + ","));
    outcome = Run({"--find", lodz});
    EXPECT_EQ(outcome.Status, 64);
    EXPECT_NE(
        outcome.Err.find("'" + lodz + "' has characters that Olvenar cannot use: \xc5\x81\xc5\xba"),
        std::string::npos)
        << outcome.Err;

    // Listing the voices takes a moment's work, not a third of a second of a busy wait.
    outcome = Run({"--list-voices"});
    EXPECT_NE(outcome.Out.find("English (America)\n"), std::string::npos);
    EXPECT_NE(outcome.Out.find("Norwegian Bokm\xc3\xa5l"), std::string::npos);
    EXPECT_LT(outcome.Cpu, kListingCpu);
}

TEST_F(ReportTool, MyCitiesAreChangedStoredAndReadAsASummary) {
    const std::pair<std::vector<std::string>, const char*> changes[] = {
        {{"--add", kHagatna, "--add", "Asia|Kazakhstan|Atyrau"}, ""},
        {{"--add", kHagatna}, "Selected city is already in the MyCities List."},
        {{"--add", "ZIP:1234"}, "ZIP:1234: Invalid Zip Code Entered"},
        {{"--add", "Asia|Japan|Tokyo"}, "Asia|Japan|Tokyo: Please select a city from the list."},
        {{"--remove", "ZIP:02134"}, "You must select a city from the MyCities list to remove."},
        {{"--add", "ZIP:02134", "--remove", "ZIP:02134"}, ""},
    };
    for (const auto& [arguments, why] : changes) {
        const ToolRun outcome = Run(arguments);
        EXPECT_EQ(outcome.Status == 0, *why == '\0') << outcome.Err;
        EXPECT_NE(outcome.Err.find(why), std::string::npos) << outcome.Err;
    }
    // Sorted by display name: Atyrau before Hagatna.
    EXPECT_EQ(home.Read("MyCities.chl"),
              "<MyCitiesList>2</MyCitiesList>\r\n<MyCitiesList0>Asia|Kazakhstan|Atyrau"
              "</MyCitiesList0>\r\n<MyCitiesList1>United States|Guam|Hagatna</MyCitiesList1>\r\n");

    ToolRun outcome = Run({"--my-cities"});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_NE(outcome.Err.find("run olvenar-report --store first"), std::string::npos);
    outcome = Run({"--store", "--my-cities"});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Out.find("for Atyrau, Kazakhstan,  at 9:15 PM"), std::string::npos);
    EXPECT_NE(outcome.Out.find("for Hagatna, Guam,  at 8:45 AM ChST"), std::string::npos);
    EXPECT_NE(home.Read("MyCitiesData.chl").find("<Temperature>77</Temperature>"),
              std::string::npos);
}

// Speech ----------------------------------------------------------------------------------

// The devices listed, the default first. While speech plays the program sleeps: a busy wait
// would take as long as the speech.
TEST_F(ReportTool, SpeaksOnTheChosenDeviceAndReturnsWhenTheReportEnds) {
    if (!SoundServer::Usable())
        GTEST_SKIP() << "no test sound server (tools/run-tests starts one)";
    const ToolRun devices = Run({"--list-devices"});
    EXPECT_EQ(devices.Status, 0);
    const std::vector<std::string> lines = SplitLines(devices.Out);
    EXPECT_EQ(lines.front(), "-1\tWave_Mapper (MS Default)");
    EXPECT_NE(devices.Out.find("\tOlvTest\n"), std::string::npos);
    const auto second = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return EndsWith(line, "\tSecondNull");
    });
    ASSERT_NE(second, lines.end());
    MonitorRecorder chosen("second", home.File("chosen.wav"));
    MonitorRecorder other("olvtest", home.File("other.wav"));
    std::this_thread::sleep_for(std::chrono::seconds(1)); // parec misses its first moments
    const ToolRun run =
        Run({"--speak", "--device", second->substr(0, second->find('\t')), kHagatna});
    chosen.Stop();
    other.Stop();
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("Here are the current conditions for Hagatna"), std::string::npos);
    EXPECT_GT(run.Took, std::chrono::seconds(8)); // the report lasts longer than that
    EXPECT_GT(ReadPcm(chosen.Path()).Peak(), 3000);
    EXPECT_LT(ReadPcm(other.Path()).Peak(), 50);
    EXPECT_LT(run.Cpu, run.Took / 2);

    const ToolRun missing = Run({"--speak", "--device", "77", kHagatna});
    EXPECT_EQ(missing.Status, 64);
    EXPECT_NE(missing.Err.find("there is no sound device 77"), std::string::npos);
}

// Files need no sound device.
TEST_F(ReportTool, RendersTheReportIntoWavAndMp3Files) {
    const std::vector<std::string> noServer = {"PULSE_SERVER=unix:/nonexistent"};
    ToolRun run = Run({"--wav", "out/report.wav", kHagatna}, noServer);
    ASSERT_EQ(run.Status, 0) << run.Err;
    const double seconds = ReadPcm(home.File("out/report.wav")).Seconds();
    EXPECT_GT(seconds, 10.0);

    // Two reports in one stereo file, under a name of the user's choosing.
    run = Run({"--mp3", "out/St. Louis.audio", "--voice", "Flite Kal16", "--quality",
               "64 kbps  22.05 KHz  Stereo", kHagatna, kHagatna},
              noServer);
    ASSERT_EQ(run.Status, 0) << run.Err;
    const Mp3Info mp3 = ReadMp3Info(home.File("out/St. Louis.audio"));
    EXPECT_EQ(std::vector<int>({mp3.Channels, mp3.Bitrate}), std::vector<int>({2, 64}));
    EXPECT_GT(mp3.Duration(), 2 * seconds * 0.8);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.File("out")), {}), 2);

    // Into standard output: the audio alone, the report on standard error.
    run = Run({"--wav", "/dev/stdout", kHagatna}, noServer);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out.substr(0, 4), "RIFF");
    EXPECT_NE(run.Err.find("Here are the current conditions for Hagatna"), std::string::npos);
}

// What can be known before the weather is fetched is said before it is (all but the full disk).
// Nothing is renamed over a device.
TEST_F(ReportTool, SpeechRefusalsSayWhy) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--speak"}, "A sound card is not detected"},
        {{"--wav", home.File("out")}, home.File("out") + " is a folder, not a file"},
        {{"--wav", "no/such/a.wav"},
         "The folder of " + home.File("no/such/a.wav") + " does not exist"},
        {{"--mp3", "x.mp3", "--voice", "Nobody"}, "no voice is named 'Nobody'"},
        {{"--mp3", "x.mp3", "--quality", "33 kbps"},
         "'33 kbps' is not an MP3 quality; these are:\n  \"16 kbps  11.02 KHz  Mono\""},
        {{"--device", "1"}, "--device goes with --speak"},
        {{"--wav", "/dev/full"}, "There is not enough disk space to write /dev/full"},
    };
    for (auto [arguments, why] : cases) {
        arguments.push_back(kHagatna);
        const ToolRun run = Run(arguments, {"PULSE_SERVER=unix:/nonexistent"});
        EXPECT_EQ(run.Status, arguments[0] == "--speak" || arguments[0] == "--wav" ? 1 : 64);
        EXPECT_NE(run.Err.find("olvenar-report: " + why), std::string::npos) << run.Err;
    }
    EXPECT_EQ(server.RequestCount(), 1u); // for /dev/full alone
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

} // namespace
} // namespace olv::test
