#include "platform/Paths.h"
#include "schedule/AutoItemClass.h"
#include "support/TempDir.h"
#include "util/Log.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace olv {
namespace {

const std::string kBoston = "United States|MA|Boston";
const std::vector<std::string> kMyCities = {kBoston, "United States|TX|Austin"};

class AutoItem : public ::testing::Test {
protected:
    AutoItem() {
        SetProgramFolder(dir.Folder());
        SetLogFile(dir.File("olvenar.dbg"));
    }
    ~AutoItem() override {
        SetLogFile("");
        SetProgramFolder("");
    }

    test::TempDir dir;
};

// Several items go in one write; a summary item has no city, so no "CityName"; the date
// follows the older values; every value read back is written back unchanged.
TEST_F(AutoItem, WritesTheLayoutAndReadsItBack) {
    AutoItemClass summary, item;
    summary.LoadItem("Summary1", "");
    item.LoadItem("City1", kBoston);
    item.Type = AutoItemClass::atSpecific;
    item.AtTime = item.LastAuto = 730;
    item.TimeLimitEnabled = item.ToFile = item.Enabled = true;
    item.StartTime = 2200;
    item.EndTime = 600;
    item.LastAutoDate = 20240310;
    AutoItemClass::SaveItems({summary, item});
    const std::string text = dir.Read("Auto.chl");
    EXPECT_EQ(text.substr(text.find("  <key =City1>")),
              "  <key =City1>\r\n    <CityName>United States|MA|Boston</CityName>\r\n"
              "    <AutoType>atSpecific</AutoType>\r\n    <Period>5</Period>\r\n"
              "    <atTime>730</atTime>\r\n    <TimeLimitEnabled>Y</TimeLimitEnabled>\r\n"
              "    <ToFile>Y</ToFile>\r\n    <Enabled>Y</Enabled>\r\n"
              "    <startTime>2200</startTime>\r\n    <endTime>600</endTime>\r\n"
              "    <LastAuto>730</LastAuto>\r\n    <LastAutoDate>20240310</LastAutoDate>\r\n"
              "  </key >\r\n");
    EXPECT_GT(text.find("<CityName>"), text.find("<key =City1>"));

    AutoItemClass again;
    again.LoadItem("City1", "");
    again.SaveItem();
    EXPECT_EQ(dir.Read("Auto.chl"), text);
}

// Names match without regard to case; texts that do not parse take the defaults, logged.
TEST_F(AutoItem, ReadsDamagedValuesAsTheirDefaults) {
    dir.Write("Auto.chl", "<key =City2><autotype>atspecific</autotype><PERIOD>ten</PERIOD>"
                          "<attime>7:30</attime><Enabled>y</Enabled><LastAuto>1405</LastAuto>"
                          "<LastAutoDate>yesterday</LastAutoDate></key >");
    AutoItemClass item;
    item.LoadItem("City2", kBoston);
    EXPECT_EQ(item.CityKey, kBoston);
    EXPECT_EQ(item.Type, AutoItemClass::atPeriodic); // only "atSpecific" exactly
    EXPECT_EQ(std::vector<int>({item.Period, item.AtTime, item.LastAuto, item.LastAutoDate}),
              std::vector<int>({5, 0, 1405, 0}));
    EXPECT_FALSE(item.Enabled); // only "Y" exactly
    const std::string log = dir.Read("olvenar.dbg");
    EXPECT_NE(log.find("/City2 period \"ten\" is not a number, using 5"), std::string::npos);

    // A missing file gives no items.
    std::remove(dir.File("Auto.chl").c_str());
    std::vector<AutoItemClass> due;
    AutoItemClass::CollectDue(1200, 20240310, kMyCities, due);
    EXPECT_TRUE(due.empty());
}

// Specific when atTime is not 0; the window is on when its bounds differ. Periods count in
// plain HHMM arithmetic and window bounds are inclusive.
struct DueCase {
    const char* what;
    int period, atTime, lastAuto, start, end, now;
    bool due;
};

const DueCase kDueCases[] = {
    {"period 15 after 1450, at 1500", 15, 0, 1450, 0, 0, 1500, true},
    {"period 60 after 1400, at 1455", 60, 0, 1400, 0, 0, 1455, false},
    {"period 60 after 1400, at 1500", 60, 0, 1400, 0, 0, 1500, true},
    {"period after midnight", 60, 0, 2330, 0, 0, 0, true},
    {"period in the same slot", 60, 0, 1400, 0, 0, 1400, true},
    {"night window at 0100", 5, 0, 0, 2200, 600, 100, true},
    {"night window at 1200", 5, 0, 0, 2200, 600, 1200, false},
    {"day window closing", 5, 0, 0, 800, 1700, 1700, true},
    {"day window after", 5, 0, 0, 800, 1700, 1705, false},
    {"specific in another slot", 5, 730, 0, 0, 0, 735, false},
    {"specific off the grid", 5, 732, 0, 0, 0, 730, false},
    {"specific outside its window", 5, 730, 0, 800, 900, 730, false},
};

TEST_F(AutoItem, FiresAsScheduled) {
    for (const DueCase& c : kDueCases) {
        SCOPED_TRACE(c.what);
        std::remove(dir.File("Auto.chl").c_str());
        AutoItemClass item;
        item.ItemName = "City1";
        item.CityKey = kBoston;
        item.Enabled = true;
        item.Type = c.atTime ? AutoItemClass::atSpecific : AutoItemClass::atPeriodic;
        item.Period = c.period;
        item.AtTime = c.atTime;
        item.LastAuto = c.lastAuto;
        item.TimeLimitEnabled = c.start != c.end;
        item.StartTime = c.start;
        item.EndTime = c.end;
        EXPECT_EQ(item.IsDue(c.now, 20240310, kMyCities), c.due);
        // Firing is remembered in the file; not firing leaves it alone.
        AutoItemClass stored;
        stored.LoadItem("City1", "");
        EXPECT_EQ(stored.LastAuto, c.due ? c.now : 0);
    }
}

} // namespace
} // namespace olv
