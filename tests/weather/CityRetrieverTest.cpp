#include "weather/CityRetriever.h"

#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "scripts/GrabBaseClass.h"
#include "scripts/ScriptClass.h"
#include "support/TempDir.h"
#include "support/http/HttpTestServer.h"
#include "util/Strings.h"
#include "weather/LocationListClass.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

using Texts = std::vector<std::string>;

// Runs the real interpreter over scripts written into a program folder of its own; the
// scripts echo their inputs into results instead of downloading pages.
class Retriever : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(dir.Folder());
        dir.Write("OVDef.chl",
                  "h\r\nAsia\r\nJapan\r\nTokyo\r\nhttp://t\r\nx\r\ny\r\nUp\r\nUp\r\nUp\r\n");
        retriever.OnStatusText = [this](const std::string& text) { statusTexts.push_back(text); };
        retriever.OnBusy = [this](bool busy) { busyCalls.push_back(busy); };
        retriever.OnResetIdle = [this] { ++idleResets; };
    }
    void TearDown() override {
        SetProcessMessagesHook(nullptr);
        SetProgramFolder("");
    }

    void WriteScript(const std::string& script) {
        GrabBaseClass store;
        store.Root.NV.Put("WUFore", script);
        std::string message;
        store.SaveToFile(dir.File("Olvenar.chl"), message);
    }

    test::TempDir dir;
    LocationListClass locations;
    CityRetriever retriever{locations};
    Texts statusTexts;
    std::vector<bool> busyCalls;
    int idleResets = 0;
};

TEST_F(Retriever, RetrievesAListedCity) {
    WriteScript("script|setvar Temperature '45'|end|");
    const CityDataClass record = retriever.RetrieveCity("Asia|Japan|Tokyo");
    EXPECT_EQ(record.Name, "Tokyo");
    EXPECT_EQ(record.FullName, "Asia|Japan|Tokyo");
    EXPECT_EQ(record.Temperature, "45");
    EXPECT_EQ(record.Link, "http://t");
    EXPECT_TRUE(record.HasData);
    EXPECT_EQ(retriever.LastFailureReason(), "");

    EXPECT_EQ(statusTexts, (Texts{"Retrieving data for Tokyo, Japan, Asia...",
                                  "Retrieval for Tokyo, Japan, Asia complete"}));
    EXPECT_EQ(busyCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(idleResets, 1);
    EXPECT_EQ(retriever.RunningScript(), nullptr);

    // An unknown city gives an empty record without running the script.
    const CityDataClass unknown = retriever.RetrieveCity("Asia|Japan|Kyoto");
    EXPECT_EQ(unknown.FullName, "Asia|Japan|Kyoto");
    EXPECT_FALSE(unknown.HasData);
    EXPECT_EQ(statusTexts.size(), 2u);
}

TEST_F(Retriever, HandsTheZipCodeToTheScript) {
    WriteScript("script|setvar ZipName 'Beverly Hills'|setvar Humidity DOINGZIP|"
                "setvar Dewpoint ZIP|setvar Temperature '80'|");
    const CityDataClass record = retriever.RetrieveCity("ZIP:90210");
    EXPECT_EQ(record.Name, "Beverly Hills");
    EXPECT_EQ(record.Humidity, "Y");
    EXPECT_EQ(record.DewPoint, "90210");
    EXPECT_EQ(record.Link, "90210");
    EXPECT_EQ(statusTexts.front(), "Retrieving data for ZIP code 90210...");
}

// Every failure leaves its technical text for the log and a reason in plain words for the user
// (the script's own reason is shown with the shipped script in the retrieval tests).
TEST_F(Retriever, FailuresGiveAReasonForTheUserAndATextForTheLog) {
    const std::string refused = test::HttpTestServer([](const test::HttpTestRequest&) {
                                    return test::HttpTestResponse();
                                }).Url("/MapClick.php");
    struct Case {
        std::string Key, Script, Reason;
        std::string Log;         // how the technical text begins; never empty
        std::string Temperature; // what the record keeps
    };
    const std::string unreadable = "Could not read the weather service's answer for ";
    const Case cases[] = {
        {"Asia|Japan|Tokyo", "", "The weather retrieval script is missing",
         "The retrieval script WUFore is missing from " + dir.File("Olvenar.chl"), ""},
        {"Asia|Japan|Tokyo", "script|gettmpfile f|geturl '" + refused + "' f|",
         "Could not reach the weather service for Tokyo",
         "download failed, URL=" + refused + " - Error:", ""},
        // A run that throws (a text that should be a number) ends the retrieval cleanly.
        {"Asia|Japan|Tokyo", "script|setvar Temperature '45'|plus x y|setvar Temperature '46'|",
         unreadable + "Tokyo", "'' is not a valid integer value", "45"},
        {"ZIP:90210", "script|goto 'nowhere'|", unreadable + "ZIP code 90210",
         "Label not found - LabelName=nowhere", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Script);
        if (!c.Script.empty())
            WriteScript(c.Script);
        busyCalls.clear();
        const CityDataClass record = retriever.RetrieveCity(c.Key);
        EXPECT_EQ(retriever.LastFailureReason(), c.Reason);
        EXPECT_TRUE(StartsWith(retriever.LastErrorMessage(), c.Log))
            << retriever.LastErrorMessage();
        EXPECT_EQ(record.Temperature, c.Temperature);
        EXPECT_EQ(busyCalls, (std::vector<bool>{true, false}));
    }
}

TEST_F(Retriever, TheHostCanReachAndAbortTheRunningScript) {
    WriteScript("script|label a|goto 'a'|");
    retriever.ProxyHost = " proxy.test ";
    retriever.ProxyPort = "8080";
    std::string proxySeen;
    int pumps = 0;
    SetProcessMessagesHook([&] {
        if (ScriptClass* script = retriever.RunningScript()) {
            proxySeen = script->ProxyHost;
            if (++pumps == 50)
                retriever.Abort();
        }
    });
    const CityDataClass record = retriever.RetrieveCity("Asia|Japan|Tokyo");
    EXPECT_GE(pumps, 50);
    EXPECT_LT(pumps, 60);
    EXPECT_EQ(proxySeen, "proxy.test");
    EXPECT_EQ(retriever.RunningScript(), nullptr);
    EXPECT_EQ(record.Temperature, "");
    // Half a record is not taken for a fresh one.
    EXPECT_EQ(retriever.LastFailureReason(), "Retrieval for Tokyo was stopped");
    EXPECT_EQ(retriever.LastErrorMessage(), "Retrieval stopped on request");
    retriever.Abort(); // nothing running: no effect
}

} // namespace
} // namespace olv
