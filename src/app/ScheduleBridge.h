#pragma once

#include "schedule/AutoReadHost.h"
#include "schedule/AutoReadScheduler.h"
#include "schedule/WallClock.h"

#include <memory>
#include <string>

class QTimer;

namespace olv {

class CitySession;
class CityViews;
class IntroClass;
class ReadingCommands;
class TBaseRegistryClass;

// The window's side of scheduled reading: it hosts the scheduler over the window's cities,
// readings, settings and AutoReadTimer. Update All runs the scheduler's refresh of My Cities,
// so that the command and the timer's automatic refresh are one.
class ScheduleBridge final : public AutoReadHost {
public:
    // Moves the clock of scheduled reading by a number of minutes (fractions allowed), read
    // once when the window is made. For tests of the whole program only.
    static constexpr const char* kTestClockOffset = "OLVENAR_TEST_CLOCK_OFFSET_MINUTES";

    // clock: null for the computer's clock, moved by kTestClockOffset when that is set. The
    // window's objects must outlive the bridge.
    ScheduleBridge(TBaseRegistryClass& settings, CitySession& cities, CityViews& views,
                   ReadingCommands& readings, const IntroClass& intro,
                   const WallClock* clock = nullptr);
    ScheduleBridge(const ScheduleBridge&) = delete;
    ScheduleBridge& operator=(const ScheduleBridge&) = delete;

    // Ticks the scheduler from timer (the window's AutoReadTimer) and starts it.
    void Start(QTimer& timer);
    // The "Update All" command; refused while a retrieval runs.
    void UpdateAll();

    AutoReadScheduler& Scheduler() { return scheduler_; }
    const WallClock& Clock() const { return clock_; }

    bool IsIdle() const override;
    bool IsRandomMode() const override;
    int ReadingKind() const override;
    bool IsRetrieving() const override;
    bool IsClosing() const override;
    std::string AutoUpdateSetting() const override;
    bool UseMetric() const override;
    void EnableAutoReadTimer(bool enabled) override;
    bool RetrieveCity(const std::string& key, CityDataClass& record) override;
    void StoreRecord(const CityDataClass& record) override;
    void MyCitiesRetrieving() override;
    void MyCitiesRetrieved(const MyCitiesRefresh& refresh) override;
    void SetFileOutput(bool toFile, const std::string& baseName) override;
    bool Speak(const std::string& text, int kind) override;

private:
    TBaseRegistryClass& settings_;
    CitySession& cities_;
    CityViews& views_;
    ReadingCommands& readings_;
    std::unique_ptr<WallClock> testClock_;
    const WallClock& clock_;
    AutoReadScheduler scheduler_;
    QTimer* timer_ = nullptr;
    std::string shownKey_; // the city shown when a refresh began
    bool toFile_ = false;
    std::string fileBase_;
};

} // namespace olv
