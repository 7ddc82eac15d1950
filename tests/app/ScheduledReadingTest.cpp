// Scheduled reading in the window: its 20-second timer reading due items through the real
// speech engine into files, and Update All and the timer's refresh of My Cities as one path.

#include "AppTestSupport.h"
#include "app/MainPanel.h"
#include "app/MyCitiesArea.h"
#include "app/TOVForm.h"
#include "util/Log.h"
#include "weather/CityDataClass.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

namespace olv {
namespace {

using namespace test;

// The clock of scheduled reading, set by the test.
struct SetClock final : WallClock {
    ClockTime Now() const override { return now; }
    std::chrono::steady_clock::time_point Monotonic() const override {
        return std::chrono::steady_clock::now();
    }
    ClockTime now{20240310, 7, 55};
};

// Records when the window asks for an update check.
struct RecordedUpdateCheck final : UpdateCheck {
    void Run(UpdateOccasion occasion) override { Occasions.push_back(occasion); }
    void Cancel() override {}
    std::vector<UpdateOccasion> Occasions;
};

// A specific-time item at 0800 that reads to a file.
std::string FileItem(const std::string& name, const std::string& city) {
    return "<key =" + name + "><CityName>" + city +
           "</CityName><AutoType>atSpecific</AutoType><atTime>800</atTime><ToFile>Y</ToFile>"
           "<Enabled>Y</Enabled></key >";
}

class ScheduledReadingTest : public WindowFixture {
protected:
    ScheduledReadingTest() {
        WriteSettings("[Software\\HalvernWorks\\Olvenar]\nsz:AutoUpdate=0\n");
        // Reports read only the temperature, so that they are quick to speak.
        home.Write("TalkData.chl", "<key =Default><ConditionsTime>N</ConditionsTime>"
                                   "<Humidity>N</Humidity><Dewpoint>N</Dewpoint><Wind>N</Wind>"
                                   "<Pressure>N</Pressure><Conditions>N</Conditions>"
                                   "<Visibility>N</Visibility><Forecast>N</Forecast></key >");
        SetLogFile(home.File("olvenar.dbg"));
    }
    ~ScheduledReadingTest() override {
        if (window)
            window->Speech().Stop();
        window.reset(); // before the clock it reads
        SetLogFile("");
    }

    TOVForm& Open() {
        WindowFixture::Open(StartSwitch::None, &clock);
        window->Speech().OutputDir = home.Folder();
        return *window;
    }
    // Moves the clock to 0800 and lets the window's timer tick until done().
    bool TickAtEightUntil(const std::function<bool()>& done) {
        clock.now = {20240310, 8, 0};
        window->AutoReadTimer().start(1);
        const bool met = RunUntil(done, std::chrono::seconds(60));
        window->AutoReadTimer().start(TOVForm::kAutoReadMs);
        return met;
    }
    bool Written(const std::string& name) const {
        return std::filesystem::exists(home.File(name + ".wav"));
    }
    bool Quiet() const { return window->Readings().ReadingKind == kNothingSpoken; }
    bool WasLogged(const std::string& text) const {
        return home.Read("olvenar.dbg").find(text) != std::string::npos;
    }

    SetClock clock;
};

// Two items due in one slot: the second waits in the queue for the end of the first.
TEST_F(ScheduledReadingTest, TheTimerReadsDueItemsOneAfterTheOther) {
    home.Write("Auto.chl", FileItem("Summary1", "") + FileItem("City1", kHagatna));
    Open();
    size_t waiting = 0;
    ASSERT_TRUE(TickAtEightUntil([&] {
        if (window->Readings().ReadingKind == kScheduledReading && waiting == 0)
            waiting = window->Schedule().Scheduler().Queue().Count();
        return Written("Summary1") && Written("HagatnaCity1") && Quiet();
    }));
    EXPECT_EQ(waiting, 1u);
    EXPECT_EQ(Requests().size(), 3u); // both My Cities for the summary, then Hagatna
    EXPECT_GT(std::filesystem::file_size(home.File("HagatnaCity1.wav")), 10000u);
    EXPECT_FALSE(window->Speech().OutputToFile);
    EXPECT_EQ(window->StatusText().toStdString(), "Saved " + home.File("HagatnaCity1.wav"));
    EXPECT_TRUE(messages.Told.empty());
}

// (The scheduler's own tests check the words of a stored report.)
TEST_F(ScheduledReadingTest, AFailedRetrievalReadsTheStoredReportAndIsLogged) {
    failRequest = [](const std::string&) { return true; };
    home.Write("Auto.chl", FileItem("City1", kHagatna));
    Open();
    ASSERT_TRUE(TickAtEightUntil([&] { return Written("HagatnaCity1") && Quiet(); }));
    EXPECT_GT(std::filesystem::file_size(home.File("HagatnaCity1.wav")), 10000u);
    EXPECT_TRUE(WasLogged("AutoReadTimer-> retrieving " + kHagatna + " failed"));
    EXPECT_EQ(window->Cities().StoredRecord(kHagatna).Temperature, "77");
    EXPECT_EQ(Requests().size(), 1u);
}

TEST_F(ScheduledReadingTest, UpdateAllAndTheTimersRefreshAreOnePath) {
    WriteMyCities({kAtyrau, kHagatna, kDededo});
    Open();
    auto recorded = std::make_unique<RecordedUpdateCheck>();
    const std::vector<UpdateOccasion>& checks = recorded->Occasions;
    window->SetUpdateCheck(std::move(recorded));
    window->Menus().CheckForUpgrade->trigger();
    window->MyCitiesView().Button().UpdateAll->click();
    const std::string outcome = "Updated 2 of 3 cities; could not update Dededo";
    EXPECT_EQ(window->StatusText().toStdString(), outcome);
    EXPECT_EQ(Requests().size(), 3u);

    window->Settings().SetValue("AutoUpdate", std::string("15"));
    window->Cities().Idle = true;
    ASSERT_TRUE(TickAtEightUntil([&] { return Requests().size() == 6; }));
    EXPECT_EQ(window->StatusText().toStdString(), outcome);
    EXPECT_EQ(checks,
              (std::vector<UpdateOccasion>{UpdateOccasion::Requested, UpdateOccasion::Automatic,
                                           UpdateOccasion::Automatic}));

    // Stop during the first city: the others are left alone.
    serviceDelay = std::chrono::seconds(5);
    // The user's Stop button, which is off unless speech or a retrieval runs.
    QPushButton& stop = *window->Panel().Button().Stop;
    EXPECT_FALSE(stop.isEnabled());
    QTimer::singleShot(300, [&stop] { stop.click(); });
    window->Menus().UpdateAll->trigger();
    EXPECT_EQ(window->StatusText(), "Update All stopped");
    EXPECT_EQ(Requests().size(), 7u);
    EXPECT_FALSE(stop.isEnabled());
}

} // namespace
} // namespace olv
