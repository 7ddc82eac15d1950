#include "weather/CityRetriever.h"

#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "scripts/ScriptClass.h"
#include "support/TempDir.h"
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

    // The scripts here hold no markup, so they can stand in the file as they are.
    void WriteScript(const std::string& script) {
        dir.Write("Olvenar.chl", "<WUFore>" + script + "</WUFore>\r\n");
    }

    test::TempDir dir;
    LocationListClass locations;
    CityRetriever retriever{locations};
    Texts statusTexts;
    std::vector<bool> busyCalls;
    int idleResets = 0;
};

// An unknown city, and Stop, are shown by the window's tests.
TEST_F(Retriever, RetrievesAListedCityThroughTheProxy) {
    WriteScript("script|setvar Temperature '45'|end|");
    retriever.ProxyHost = " proxy.test ";
    std::string proxySeen;
    SetProcessMessagesHook([&] {
        if (ScriptClass* script = retriever.RunningScript())
            proxySeen = script->ProxyHost;
    });
    const CityDataClass record = retriever.RetrieveCity("Asia|Japan|Tokyo");
    EXPECT_EQ(proxySeen, "proxy.test");
    EXPECT_EQ(record.Name + " " + record.FullName + " " + record.Temperature + " " + record.Link,
              "Tokyo Asia|Japan|Tokyo 45 http://t");
    EXPECT_TRUE(record.HasData && retriever.LastFailureReason().empty());

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
    EXPECT_EQ(record.Name + " " + record.Humidity + " " + record.DewPoint + " " + record.Link,
              "Beverly Hills Y 90210 90210");
    EXPECT_EQ(statusTexts.front(), "Retrieving data for ZIP code 90210...");
}

// Every failure leaves its technical text for the log and a reason in plain words for the user
// (the script's own reason is shown with the shipped script in the retrieval tests, a service
// that cannot be reached by the window's tests).
TEST_F(Retriever, FailuresGiveAReasonForTheUserAndATextForTheLog) {
    struct Case {
        std::string Key, Script, Reason;
        std::string Log;         // how the technical text begins; never empty
        std::string Temperature; // what the record keeps
    };
    const std::string unreadable = "Could not read the weather service's answer for ";
    const Case cases[] = {
        {"Asia|Japan|Tokyo", "", "The weather retrieval script is missing",
         "The retrieval script WUFore is missing from " + dir.File("Olvenar.chl"), ""},
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

} // namespace
} // namespace olv
