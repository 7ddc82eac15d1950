#include "schedule/AutoReadScheduler.h"

#include "platform/Paths.h"
#include "report/IntroClass.h"
#include "schedule/AutoItemClass.h"
#include "schedule/AutoReadHost.h"
#include "support/TempDir.h"
#include "util/Log.h"
#include "weather/CityDataClass.h"
#include "weather/MyCitiesClass.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace olv {
namespace {

using Texts = std::vector<std::string>;

const std::string kBoston = "United States|MA|Boston";
const std::string kAustin = "United States|TX|Austin";
constexpr int kDay = 20240310;

// Stands in for the main window that hosts the scheduler (it is built on top of this library)
// and for its clock: the state is plain fields, a retrieval hands out a record whose
// temperature counts the retrievals, and the speak step records what it was given.
class FakeWindow : public AutoReadHost, public WallClock {
public:
    struct Reading {
        int slot;
        std::string title, text;
        bool toFile;
    };

    ClockTime Now() const override { return now; }
    std::chrono::steady_clock::time_point Monotonic() const override {
        return std::chrono::steady_clock::time_point(elapsed);
    }
    bool IsIdle() const override { return idle; }
    bool IsRandomMode() const override { return randomMode; }
    int ReadingKind() const override { return speaking ? 2 : readingKind; }
    bool IsRetrieving() const override { return retrieving; }
    std::string AutoUpdateSetting() const override { return autoUpdate; }
    bool UseMetric() const override { return false; }
    void EnableAutoReadTimer(bool enabled) override { timerActive = enabled; }
    void MyCitiesRetrieved(const MyCitiesRefresh&) override { ++refreshes; }
    void SetFileOutput(bool toFile, const std::string& base) override {
        output = {0, base, "", toFile};
    }
    bool RetrieveCity(const std::string& key, CityDataClass& record) override {
        retrieved.push_back(key);
        timerRanDuringWork |= timerActive;
        if (duringRetrieval)
            duringRetrieval();
        elapsed += failing.count(key) ? failureTakes : std::chrono::seconds(1);
        record.Temperature = std::to_string(retrieved.size());
        return failing.count(key) == 0;
    }
    bool Speak(const std::string& text, int kind) override {
        EXPECT_EQ(kind, AutoReadScheduler::kScheduledReading);
        spoken.push_back({now.Slot(), output.title, text, output.toFile});
        readingKind = speechWorks ? kind : 0;
        return speechWorks;
    }
    // The end of each speech, as the window reports it, until nothing is left to say.
    void FinishSpeaking(AutoReadScheduler& scheduler) {
        while (readingKind != 0) {
            readingKind = 0;
            scheduler.SpeechEnded();
        }
    }

    ClockTime now;
    std::chrono::seconds elapsed{0}, failureTakes{1};
    bool idle = false, randomMode = false, retrieving = false, speaking = false;
    bool speechWorks = true;
    bool timerActive = true, timerRanDuringWork = false;
    int readingKind = 0;
    std::string autoUpdate = "0";
    std::set<std::string> failing;
    std::function<void()> duringRetrieval;
    Reading output{};
    Texts retrieved;
    std::vector<Reading> spoken;
    size_t refreshes = 0;
};

// A section of "Auto.chl" for an enabled item: specific when at is given, else periodic.
std::string Item(const std::string& name, const std::string& city, int period, int at,
                 int start = 0, int end = 0, bool toFile = false) {
    const auto value = [](const char* tag, const std::string& text) {
        return "<" + std::string(tag) + ">" + text + "</" + tag + ">";
    };
    return "<key =" + name + ">" + value("CityName", city) +
           value("AutoType", at ? "atSpecific" : "atPeriodic") +
           value("Period", std::to_string(period)) + value("atTime", std::to_string(at)) +
           value("TimeLimitEnabled", start != end ? "Y" : "N") +
           value("startTime", std::to_string(start)) + value("endTime", std::to_string(end)) +
           value("ToFile", toFile ? "Y" : "N") + value("Enabled", "Y") + "</key >";
}

class Scheduler : public ::testing::Test {
protected:
    Scheduler() {
        SetProgramFolder(dir.Folder());
        SetLogFile(dir.File("olvenar.dbg"));
        // Reports read only the temperature, so that the texts stay short.
        dir.Write("TalkData.chl", "<key =Default><ConditionsTime>N</ConditionsTime>"
                                  "<Temperature>Y</Temperature><Humidity>N</Humidity>"
                                  "<Dewpoint>N</Dewpoint><Wind>N</Wind><Pressure>N</Pressure>"
                                  "<Conditions>N</Conditions><Visibility>N</Visibility></key >");
        myCities.Keys = {kAustin, kBoston};
    }
    ~Scheduler() override {
        SetLogFile("");
        SetProgramFolder("");
    }

    void StartAt(int hhmm) {
        window.now = {kDay, hhmm / 100, hhmm % 100};
        scheduler = std::make_unique<AutoReadScheduler>(window, myCities, intro, window);
    }
    void TickAt(int hhmm, int date = kDay) {
        window.now = {date, hhmm / 100, hhmm % 100};
        scheduler->Tick();
    }
    // Ticks three times in each slot from..to (HHMM), speaking everything queued.
    void Run(int date, int from, int to) {
        for (int slot = from; slot <= to; slot += slot % 100 == 55 ? 45 : 5)
            for (int minute : {0, 2, 4}) {
                TickAt(slot + minute, date);
                window.FinishSpeaking(*scheduler);
            }
    }
    // "slot title" of each reading, in the order spoken.
    std::string Spoken() const {
        std::string readings;
        for (const FakeWindow::Reading& reading : window.spoken)
            readings +=
                (readings.empty() ? "" : ", ") + std::to_string(reading.slot) + " " + reading.title;
        return readings;
    }

    test::TempDir dir;
    FakeWindow window;
    MyCitiesClass myCities;
    IntroClass intro;
    std::unique_ptr<AutoReadScheduler> scheduler;
};

// Several items go in one write; a summary item has no city, so no "CityName"; the date
// follows the older values; every value read back is written back unchanged.
TEST_F(Scheduler, WritesTheLayoutAndReadsItBack) {
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

    // Reading every value back is shown by the items the other tests read from their sections.
}

// Names match without regard to case; texts that do not parse take the defaults, logged.
TEST_F(Scheduler, ReadsDamagedValuesAsTheirDefaults) {
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
}

// Specific when atTime is not 0; the window is on when its bounds differ. Periods count in
// plain HHMM arithmetic. (A day of items read by the scheduler shows the rest.)
struct DueCase {
    const char* what;
    int period, atTime, lastAuto, start, end, now;
    bool due;
};

const DueCase kDueCases[] = {
    {"period 15 after 1450, at 1500", 15, 0, 1450, 0, 0, 1500, true},
    {"period 60 after 1400, at 1455", 60, 0, 1400, 0, 0, 1455, false},
    {"period after midnight", 60, 0, 2330, 0, 0, 0, true},
    {"period in the same slot", 60, 0, 1400, 0, 0, 1400, true},
    {"specific off the grid", 5, 732, 0, 0, 0, 730, false},
    {"specific outside its window", 5, 730, 0, 800, 900, 730, false},
};

TEST_F(Scheduler, FiresAsScheduled) {
    for (const DueCase& c : kDueCases) {
        SCOPED_TRACE(c.what);
        dir.Write("Auto.chl", Item("City1", kBoston, c.period, c.atTime, c.start, c.end));
        AutoItemClass item;
        item.LoadItem("City1", "");
        item.LastAuto = c.lastAuto;
        // That firing is remembered in the file shows in the clock going back, below.
        EXPECT_EQ(item.IsDue(c.now, kDay, myCities.Keys), c.due);
    }
}

// Periods count in plain HHMM arithmetic (120 minutes after 0800 is 0920); items due in one
// slot are read in file order, each after the end of the one before.
TEST_F(Scheduler, ReadsADayOfItemsInTheirSlots) {
    dir.Write("Auto.chl", Item("City1", kBoston, 5, 730, 0, 0, true) +
                              Item("City2", kAustin, 60, 0, 2200, 600) +
                              Item("Summary1", "", 120, 0, 800, 1200) +
                              Item("City3", "Europe|France|Nice", 5, 0) +
                              Item("City5", kAustin, 5, 730) + "<key =City4><CityName>" + kBoston +
                              "</CityName><Enabled>N</Enabled></key >");
    StartAt(0);
    Run(kDay, 0, 2355);
    EXPECT_EQ(Spoken(), "100 AustinCity2, 200 AustinCity2, 300 AustinCity2, 400 AustinCity2, "
                        "500 AustinCity2, 600 AustinCity2, 730 BostonCity1, 730 AustinCity5, "
                        "800 Summary1, 920 Summary1, 1040 Summary1, 1200 Summary1, "
                        "2200 AustinCity2, 2300 AustinCity2");
    EXPECT_TRUE(window.spoken[6].toFile && !window.spoken[7].toFile);
    EXPECT_FALSE(window.timerRanDuringWork);
    EXPECT_TRUE(window.timerActive);
}

TEST_F(Scheduler, RefreshesIdleMyCitiesAtTheIntervalInHhmmArithmetic) {
    window.autoUpdate = "15";
    window.idle = true;
    StartAt(1450);
    std::vector<int> refreshed;
    for (int slot : {1450, 1455, 1500, 1505, 1510, 1515, 1520, 1525, 1530}) {
        const size_t before = window.refreshes;
        TickAt(slot);
        if (window.refreshes > before)
            refreshed.push_back(slot);
    }
    EXPECT_EQ(refreshed, (std::vector<int>{1450, 1500, 1515, 1530})); // 1450 to 1500 counts 50

    // Due at 1600, but not while the user works or something is spoken.
    for (const auto& [idle, kind, refreshes] :
         {std::tuple(false, 0, 4u), std::tuple(true, 2, 4u), std::tuple(true, 0, 5u)}) {
        window.idle = idle;
        window.readingKind = kind;
        TickAt(1600);
        EXPECT_EQ(window.refreshes, refreshes);
    }
}

// Asleep from 0725 to 1100; the next night the clock goes back an hour at 0200, and in the
// morning the user sets it back half an hour.
TEST_F(Scheduler, SleepSkipsMissedSlotsAndTheClockGoingBackRepeatsNothing) {
    dir.Write("Auto.chl", Item("City1", kBoston, 5, 730) + Item("City2", kAustin, 5, 130) +
                              Item("Summary1", "", 60, 0, 800, 1200));
    StartAt(700);
    Run(kDay, 700, 725);
    Run(kDay, 1100, 1105);
    Run(kDay + 1, 125, 155);
    Run(kDay + 1, 100, 135);
    Run(kDay + 1, 725, 735);
    Run(kDay + 1, 700, 735);
    EXPECT_EQ(Spoken(), "1100 Summary1, 130 AustinCity2, 730 BostonCity1");
}

// Random reading, a retrieval and a reading hold the tick back without using up the slot;
// Stop abandons a check; a reading that cannot start does not hold up the next;
// after a failure that ran into the time limits the tick retrieves nothing more.
TEST_F(Scheduler, StandsAsideStopsAndGivesUp) {
    dir.Write("Auto.chl", Item("City1", kBoston, 5, 0, 0, 0, true) + Item("City2", kAustin, 5, 0));
    StartAt(755);
    for (bool FakeWindow::*busy :
         {&FakeWindow::randomMode, &FakeWindow::retrieving, &FakeWindow::speaking}) {
        window.*busy = true;
        TickAt(800);
        window.*busy = false;
    }
    EXPECT_TRUE(window.retrieved.empty());
    window.duringRetrieval = [this] { scheduler->Stop(); };
    TickAt(802);
    EXPECT_EQ(window.retrieved, (Texts{kBoston}));
    EXPECT_TRUE(window.spoken.empty());

    window.duringRetrieval = nullptr;
    window.speechWorks = false;
    TickAt(805);
    EXPECT_EQ(Spoken(), "805 BostonCity1, 805 AustinCity2");
    EXPECT_TRUE(scheduler->Queue().Empty());
    EXPECT_FALSE(window.output.toFile);

    // Boston fails and is read from its stored record, saying when it was observed; Austin is
    // not even tried after a failure that ran into the time limits, and read from its record.
    CityDataClass boston(kBoston);
    boston.Temperature = "45";
    boston.ConditionsTime = "7:53 AM EST";
    boston.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + kBoston);
    window.failing = {kBoston};
    window.failureTakes = AutoReadScheduler::kSlowFailure;
    TickAt(810);
    EXPECT_EQ(window.retrieved, (Texts{kBoston, kBoston, kAustin, kBoston}));
    ASSERT_EQ(window.spoken.size(), 4u);
    EXPECT_EQ(window.spoken[2].text, "Here are the conditions for Boston, MA,  at 7:53 AM Eastern "
                                     "Standard Time.  The Temperature is 45 degrees.  ");
    EXPECT_EQ(window.spoken[3].text,
              "Here are the conditions for Austin, TX, .  The Temperature is 3 degrees.  ");
}

} // namespace
} // namespace olv
