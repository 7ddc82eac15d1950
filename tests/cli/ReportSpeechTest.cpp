// olvenar-report's speech options, run as its users run them: the real program with a program
// folder and settings of its own, the weather service played by a loopback server, speech on
// the null sinks of the real PulseAudio test server (tools/run-tests starts it), and files
// checked by reading them back.

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

const std::string kCity = "United States|Guam|Hagatna";

// Loose enough for a loaded machine; a sanitized build is several times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr auto kListingCpu = std::chrono::milliseconds(1500);
#else
constexpr auto kListingCpu = std::chrono::milliseconds(250);
#endif

class ReportSpeechTest : public ::testing::Test {
protected:
    void SetUp() override {
        home.Write("OVDef.chl", "Test catalogue\r\nUnited States\r\nGuam\r\nHagatna\r\n" +
                                    server.Url("/MapClick.php?lat=13.4719&lon=144.7498") +
                                    "\r\n13.47\r\n144.75\r\nUp\r\nUp\r\nUp\r\n");
        std::filesystem::create_directory(work.File("out"));
    }

    // Runs olvenar-report in the work folder with arguments and extra NAME=VALUE settings in
    // its environment.
    ToolRun Report(const std::vector<std::string>& arguments,
                   std::vector<std::string> environment = {}) {
        environment.push_back("OLVENAR_HOME=" + home.Folder());
        environment.push_back("OLVENAR_CONFIG_DIR=" + config.Folder());
        environment.push_back("OLVENAR_SHIPPED_DATA=" + std::string(OLVENAR_DATA_DIR));
        return RunTool("olvenar-report", arguments, environment, work.Folder());
    }

    // The number olvenar-report --list-devices gives the device described as description.
    std::string DeviceNumber(const std::string& description) {
        for (const std::string& line : SplitLines(Report({"--list-devices"}).Out))
            if (EndsWith(line, "\t" + description))
                return line.substr(0, line.find('\t'));
        return "none";
    }

    TempDir home, config, work;
    HttpTestServer server{[](const HttpTestRequest&) {
        return HttpTestResponse::Ok(ServiceResponse(kNwsHagatna), "application/json");
    }};
};

TEST_F(ReportSpeechTest, SpeaksTheReportOnTheChosenDeviceAndReturnsWhenItEnds) {
    if (!SoundServer::Usable())
        GTEST_SKIP() << "no test sound server (tools/run-tests starts one)";
    const std::string device = DeviceNumber("SecondNull");
    MonitorRecorder chosen("second", work.File("chosen.wav"));
    MonitorRecorder other("olvtest", work.File("other.wav"));
    std::this_thread::sleep_for(std::chrono::seconds(1)); // parec misses its first moments
    const ToolRun run = Report({"--speak", "--device", device, kCity});
    chosen.Stop();
    other.Stop();
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("Here are the current conditions for Hagatna"), std::string::npos);
    EXPECT_GT(run.Took, std::chrono::seconds(8)); // the report lasts longer than that
    EXPECT_GT(ReadPcm(chosen.Path()).Peak(), 3000);
    EXPECT_LT(ReadPcm(other.Path()).Peak(), 50);
    // While speech plays the program sleeps: a busy wait would take as long as the speech.
    EXPECT_LT(run.Cpu, run.Took / 2);
}

TEST_F(ReportSpeechTest, RendersTheReportIntoWavAndMp3Files) {
    // Files need no sound device.
    const std::vector<std::string> noServer = {"PULSE_SERVER=unix:/nonexistent"};
    ToolRun run = Report({"--wav", "out/report.wav", kCity}, noServer);
    ASSERT_EQ(run.Status, 0) << run.Err;
    const double seconds = ReadPcm(work.File("out/report.wav")).Seconds();
    EXPECT_GT(seconds, 10.0);

    run = Report({"--mp3", "out/St. Louis.mp3", "--quality", "64 kbps  22.05 KHz  Stereo", kCity},
                 noServer);
    ASSERT_EQ(run.Status, 0) << run.Err;
    Mp3Info mp3 = ReadMp3Info(work.File("out/St. Louis.mp3"));
    EXPECT_EQ(std::vector<int>({mp3.Channels, mp3.Bitrate}), std::vector<int>({2, 64}));
    EXPECT_NEAR(mp3.Duration(), seconds, 0.2);

    // Two reports in one file, under a name of the user's choosing.
    run = Report({"--mp3", work.File("out/weather.audio"), "--voice", "Flite Kal16", kCity, kCity},
                 noServer);
    ASSERT_EQ(run.Status, 0) << run.Err;
    mp3 = ReadMp3Info(work.File("out/weather.audio"));
    EXPECT_EQ(mp3.Channels, 1);
    EXPECT_GT(mp3.Duration(), 2 * seconds * 0.8);

    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.File("out")), {}), 3);

    // Into standard output: the audio alone, the report on standard error.
    run = Report({"--wav", "/dev/stdout", kCity}, noServer);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out.substr(0, 4), "RIFF");
    EXPECT_NE(run.Err.find("Here are the current conditions for Hagatna"), std::string::npos);
}

// What can be known before the weather is fetched is said before it is (all but the full disk).
// Nothing is renamed over a device.
TEST_F(ReportSpeechTest, RefusalsSayWhy) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--speak"}, "A sound card is not detected"},
        {{"--wav", work.File("out")}, work.File("out") + " is a folder, not a file"},
        {{"--wav", "no/such/a.wav"},
         "The folder of " + work.File("no/such/a.wav") + " does not exist"},
        {{"--mp3", "x.mp3", "--voice", "Nobody"}, "no voice is named 'Nobody'"},
        {{"--mp3", "x.mp3", "--quality", "33 kbps"},
         "'33 kbps' is not an MP3 quality; these are:\n  \"16 kbps  11.02 KHz  Mono\""},
        {{"--device", "1"}, "--device goes with --speak"},
        {{"--wav", "/dev/full"}, "There is not enough disk space to write /dev/full"},
    };
    for (auto [arguments, why] : cases) {
        arguments.push_back(kCity);
        const ToolRun run = Report(arguments, {"PULSE_SERVER=unix:/nonexistent"});
        EXPECT_EQ(run.Status, arguments[0] == "--speak" || arguments[0] == "--wav" ? 1 : 64);
        EXPECT_NE(run.Err.find("olvenar-report: " + why), std::string::npos) << run.Err;
    }
    EXPECT_EQ(server.RequestCount(), 1u); // for /dev/full alone
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

TEST_F(ReportSpeechTest, ListsVoicesAndDevices) {
    const ToolRun voices = Report({"--list-voices"}, {"LC_ALL=C.UTF-8"});
    EXPECT_EQ(voices.Status, 0);
    EXPECT_NE(voices.Out.find("English (America)\n"), std::string::npos);
    EXPECT_NE(voices.Out.find("Norwegian Bokm\xc3\xa5l"), std::string::npos);
    // Listing takes a moment's work, not a third of a second of a busy wait.
    EXPECT_LT(voices.Cpu, kListingCpu);

    if (!SoundServer::Usable())
        GTEST_SKIP() << "no test sound server (tools/run-tests starts one)";
    const ToolRun devices = Report({"--list-devices"});
    EXPECT_EQ(devices.Status, 0);
    EXPECT_EQ(SplitLines(devices.Out).front(), "-1\tWave_Mapper (MS Default)");
    EXPECT_NE(devices.Out.find("\tOlvTest\n"), std::string::npos);
    const ToolRun run = Report({"--speak", "--device", "77", kCity});
    EXPECT_EQ(run.Status, 64);
    EXPECT_NE(run.Err.find("there is no sound device 77"), std::string::npos);
}

} // namespace
} // namespace olv::test
