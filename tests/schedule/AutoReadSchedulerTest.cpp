#include "schedule/AutoReadScheduler.h"

#include "platform/Paths.h"
#include "report/IntroClass.h"
#include "schedule/AutoReadHost.h"
#include "support/TempDir.h"
#include "weather/CityDataClass.h"
#include "weather/MyCitiesClass.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>

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
    int ReadingKind() const override { return readingKind; }
    bool IsRetrieving() const override { return retrieving; }
    std::string AutoUpdateSetting() const override { return autoUpdate; }
    bool UseMetric() const override { return false; }
    void EnableAutoReadTimer(bool enabled) override { timerActive = enabled; }
    void MyCitiesRetrieved() override { ++refreshes; }
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
            output.toFile = false;
            scheduler.SpeechEnded();
        }
    }
    void Set(int date, int hhmm) { now = {date, hhmm / 100, hhmm % 100}; }

    ClockTime now;
    std::chrono::seconds elapsed{0}, failureTakes{1};
    bool idle = false, randomMode = false, retrieving = false, speechWorks = true;
    bool timerActive = true, timerRanDuringWork = false;
    int readingKind = 0, refreshes = 0;
    std::string autoUpdate = "0";
    std::set<std::string> failing;
    std::function<void()> duringRetrieval;
    Reading output{};
    Texts retrieved;
    std::vector<Reading> spoken;
};

// A section of "Auto.chl" for an enabled item: specific when at is given, else periodic.
std::string Item(const std::string& name, const std::string& city, int period, int at,
                 int start = 0, int end = 0, bool toFile = false) {
    return "<key =" + name + "><CityName>" + city + "</CityName><AutoType>" +
           (at ? "atSpecific" : "atPeriodic") + "</AutoType><Period>" + std::to_string(period) +
           "</Period><atTime>" + std::to_string(at) + "</atTime><TimeLimitEnabled>" +
           (start != end ? "Y" : "N") + "</TimeLimitEnabled><startTime>" + std::to_string(start) +
           "</startTime><endTime>" + std::to_string(end) + "</endTime><ToFile>" +
           (toFile ? "Y" : "N") + "</ToFile><Enabled>Y</Enabled></key >";
}

class Scheduler : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(dir.Folder());
        // Reports read only the temperature, so that the texts stay short.
        dir.Write("TalkData.chl", "<key =Default><ConditionsTime>N</ConditionsTime>"
                                  "<Temperature>Y</Temperature><Humidity>N</Humidity>"
                                  "<Dewpoint>N</Dewpoint><Wind>N</Wind><Pressure>N</Pressure>"
                                  "<Conditions>N</Conditions><Visibility>N</Visibility></key >");
        myCities.Keys = {kAustin, kBoston};
    }
    void TearDown() override { SetProgramFolder(""); }

    void Write(const std::string& items) { dir.Write("Auto.chl", items); }
    void Store(const std::string& key, const std::string& temperature) {
        CityDataClass record(key);
        record.Temperature = temperature;
        record.ConditionsTime = "7:53 AM EST";
        record.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + key);
    }
    void StartAt(int hhmm) {
        window.Set(kDay, hhmm);
        scheduler = std::make_unique<AutoReadScheduler>(window, myCities, intro, window);
    }
    void TickAt(int hhmm, int date = kDay) {
        window.Set(date, hhmm);
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

TEST_F(Scheduler, ReadsADayOfItemsInTheirSlots) {
    Write(Item("City1", kBoston, 5, 730, 0, 0, true) + Item("City2", kAustin, 60, 0, 2200, 600) +
          Item("Summary1", "", 120, 0, 800, 1200) + Item("City3", "Europe|France|Nice", 5, 0) +
          "<key =City4><CityName>" + kBoston + "</CityName><Enabled>N</Enabled></key >");
    StartAt(0);
    Run(kDay, 0, 2355);
    // Periods count in plain HHMM arithmetic: 120 minutes after 0800 is 0920.
    EXPECT_EQ(Spoken(), "100 AustinCity2, 200 AustinCity2, 300 AustinCity2, 400 AustinCity2, "
                        "500 AustinCity2, 600 AustinCity2, 730 BostonCity1, 800 Summary1, "
                        "920 Summary1, 1040 Summary1, 1200 Summary1, 2200 AustinCity2, "
                        "2300 AustinCity2");
    EXPECT_TRUE(window.spoken[6].toFile && !window.spoken[7].toFile);
    EXPECT_FALSE(window.timerRanDuringWork);
    EXPECT_TRUE(window.timerActive);
}

// The second item waits for the end of the first, and both for a reading that the user
// started while they were being retrieved.
TEST_F(Scheduler, SpeaksItemsDueTogetherInFileOrderOneAfterTheOther) {
    Write(Item("City5", kBoston, 5, 800) + Item("City1", kAustin, 5, 800));
    StartAt(755);
    window.duringRetrieval = [this] { window.readingKind = 2; };
    TickAt(800);
    EXPECT_TRUE(window.spoken.empty());
    window.readingKind = 0;
    scheduler->SpeechEnded();
    EXPECT_EQ(Spoken(), "800 BostonCity5");
    EXPECT_EQ(window.spoken[0].text,
              "Here are the current conditions for Boston, MA, .  The Temperature is 1 degrees.  ");
    window.FinishSpeaking(*scheduler);
    EXPECT_EQ(Spoken(), "800 BostonCity5, 800 AustinCity1");
}

TEST_F(Scheduler, RefreshesIdleMyCitiesAtTheIntervalInHhmmArithmetic) {
    window.autoUpdate = "15";
    window.idle = true;
    StartAt(1450);
    std::vector<int> refreshed;
    for (int slot : {1450, 1455, 1500, 1505, 1510, 1515, 1520, 1525, 1530}) {
        const int before = window.refreshes;
        TickAt(slot);
        if (window.refreshes > before)
            refreshed.push_back(slot);
    }
    EXPECT_EQ(refreshed, (std::vector<int>{1450, 1500, 1515, 1530})); // 1450 to 1500 counts 50

    // Due at 1600, but not while the user works, something is spoken, or the setting is off
    // or unreadable.
    const std::vector<std::function<void(bool)>> holds = {
        [this](bool on) { window.idle = !on; },
        [this](bool on) { window.readingKind = on ? 2 : 0; },
        [this](bool on) { window.autoUpdate = on ? "0" : "15"; },
        [this](bool on) { window.autoUpdate = on ? "soon" : "15"; }};
    for (const auto& hold : holds) {
        hold(true);
        TickAt(1600);
        hold(false);
    }
    EXPECT_EQ(window.refreshes, 4);
    TickAt(1600);
    EXPECT_EQ(window.refreshes, 5);
}

// A city that cannot be retrieved keeps its stored record and is read from it, saying when
// it was observed. The summary due in the tick of a refresh reads what the refresh stored;
// after a failure that ran into the time limits the tick retrieves nothing more.
TEST_F(Scheduler, ReadsTheStoredReportOfACityThatFails) {
    myCities.Keys.push_back("ZIP:02134"); // never stored
    Store(kBoston, "45");
    window.failing = {kBoston};
    window.failureTakes = std::chrono::seconds(60);
    window.autoUpdate = "15";
    window.idle = true;
    Write(Item("Summary1", "", 5, 800) + Item("City1", kBoston, 5, 800));
    StartAt(755);
    TickAt(800);
    window.FinishSpeaking(*scheduler);
    EXPECT_EQ(window.retrieved, (Texts{kAustin, kBoston}));
    const std::string stale = "Here are the conditions for Boston, MA,  at 7:53 AM Eastern "
                              "Standard Time.  The Temperature is 45 degrees.  ";
    ASSERT_EQ(window.spoken.size(), 2u);
    EXPECT_EQ(window.spoken[0].text,
              "Here are the current conditions for Austin, TX, .  The Temperature is 1 degrees.  " +
                  stale + "The weather for ZIP code 02134, could not be retrieved.  ");
    EXPECT_EQ(window.spoken[1].text, stale);
    CityDataClass stored(kBoston);
    stored.LoadRecord(CityDataClass::kMyCitiesDataFile, "/" + kBoston);
    EXPECT_EQ(stored.Temperature, "45");

    Write(Item("City1", kBoston, 5, 805));
    TickAt(805); // the next tick tries again
    EXPECT_EQ(window.retrieved, (Texts{kAustin, kBoston, kBoston}));
}

// Asleep from 0725 to 1100; the next night the clock goes back an hour at 0200, and in the
// morning the user sets it back half an hour.
TEST_F(Scheduler, SleepSkipsMissedSlotsAndTheClockGoingBackRepeatsNothing) {
    Write(Item("City1", kBoston, 5, 730) + Item("City2", kAustin, 5, 130) +
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
// Stop abandons a check; a reading that cannot start does not hold up the next.
TEST_F(Scheduler, StandsAsideAndStops) {
    Write(Item("City1", kBoston, 5, 800, 0, 0, true) + Item("City2", kAustin, 5, 800));
    StartAt(755);
    for (bool FakeWindow::*busy : {&FakeWindow::randomMode, &FakeWindow::retrieving}) {
        window.*busy = true;
        TickAt(800);
        window.*busy = false;
    }
    window.readingKind = 2;
    TickAt(800);
    window.readingKind = 0;
    EXPECT_TRUE(window.retrieved.empty());
    window.duringRetrieval = [this] { scheduler->Stop(); };
    TickAt(802);
    EXPECT_EQ(window.retrieved, (Texts{kBoston}));
    EXPECT_TRUE(window.spoken.empty());

    Write(Item("City1", kBoston, 5, 805, 0, 0, true) + Item("City2", kAustin, 5, 805));
    window.duringRetrieval = nullptr;
    window.speechWorks = false;
    TickAt(805);
    EXPECT_EQ(Spoken(), "805 BostonCity1, 805 AustinCity2");
    EXPECT_TRUE(scheduler->Queue().Empty());
    EXPECT_FALSE(window.output.toFile);
}

} // namespace
} // namespace olv
