#include "weather/CityRetriever.h"

#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "scripts/GrabBaseClass.h"
#include "scripts/ScriptClass.h"
#include "support/TempDir.h"
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

    EXPECT_EQ(statusTexts, (Texts{"Retrieving data for Tokyo, Japan, Asia...",
                                  "Retrieval for Tokyo, Japan, Asia complete"}));
    EXPECT_EQ(busyCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(idleResets, 1);
    EXPECT_EQ(retriever.RunningScript(), nullptr);
}

TEST_F(Retriever, HandsTheZipCodeToTheScript) {
    WriteScript("script|setvar ZipName 'Beverly Hills'|setvar Humidity DOINGZIP|"
                "setvar Dewpoint ZIP|setvar Temperature '80'|");
    const CityDataClass record = retriever.RetrieveCity("ZIP:90210");
    EXPECT_EQ(record.Name, "Beverly Hills");
    EXPECT_EQ(record.ZIP, "90210");
    EXPECT_EQ(record.Humidity, "Y");
    EXPECT_EQ(record.DewPoint, "90210");
    EXPECT_EQ(record.Link, "90210");
    EXPECT_EQ(statusTexts.front(), "Retrieving data for ZIP:90210, , ...");
}

TEST_F(Retriever, UnknownCityGivesAnEmptyRecordWithoutRunning) {
    WriteScript("script|setvar Temperature '45'|");
    const CityDataClass record = retriever.RetrieveCity("Asia|Japan|Kyoto");
    EXPECT_EQ(record.FullName, "Asia|Japan|Kyoto");
    EXPECT_EQ(record.Temperature, "");
    EXPECT_FALSE(record.HasData);
    EXPECT_TRUE(statusTexts.empty());
    EXPECT_TRUE(busyCalls.empty());
}

TEST_F(Retriever, FailuresEndUpInErrorMessage) {
    LocItemClass item("Tokyo", "Asia|Japan|Tokyo", "http://t");
    NVListClass results;
    retriever.DoRetrieve(item, results);
    EXPECT_NE(results.Get("ErrorMessage").find("WUFore is missing"), std::string::npos);

    // A conversion failure escapes the interpreter; the retrieval still ends cleanly.
    WriteScript("script|setvar Temperature '45'|plus x y|setvar Temperature '46'|");
    busyCalls.clear();
    results.Clear();
    retriever.DoRetrieve(item, results);
    EXPECT_EQ(results.Get("ErrorMessage"), "'' is not a valid integer value");
    EXPECT_EQ(results.Get("Temperature"), "45");
    EXPECT_EQ(busyCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(statusTexts.back(), "Retrieval for Tokyo, Japan, Asia complete");
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
    retriever.Abort(); // nothing running: no effect
}

} // namespace
} // namespace olv
