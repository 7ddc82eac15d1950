#pragma once

#include "schedule/AutoQueueClass.h"
#include "schedule/WallClock.h"

#include <chrono>
#include <set>
#include <string>

namespace olv {

class AutoItemClass;
class AutoReadHost;
class CityDataClass;
class IntroClass;
class MyCitiesClass;
class TalkDataClass;

// The scheduled work of the main window: the automatic refresh of My Cities at the
// "AutoUpdate" interval while the user is idle, and the items of "Auto.chl", checked once per
// five-minute slot, composed into reports and spoken one after the other. The window creates
// one, calls Tick from its 20-second timer and SpeechEnded at every end of speech.
class AutoReadScheduler {
public:
    // The reading kind of scheduled readings.
    static constexpr int kScheduledReading = 1;
    // A failed retrieval that took this long ran into the download's time limits: the network
    // is down or hopeless, so the rest of the tick reads stored reports instead of waiting again.
    static constexpr std::chrono::seconds kSlowFailure{15};

    // The window's objects must outlive the scheduler. The first check runs in the slot after
    // the one the scheduler was created in.
    AutoReadScheduler(AutoReadHost& host, const MyCitiesClass& myCities, const IntroClass& intro,
                      const WallClock& clock = SystemClock::Instance());
    AutoReadScheduler(const AutoReadScheduler&) = delete;
    AutoReadScheduler& operator=(const AutoReadScheduler&) = delete;

    // One tick of the timer: refreshes My Cities when due, then, once per slot, queues the
    // due items and starts the first. Stops the timer while it works; never throws.
    void Tick();
    // At every end of speech, after the window's own handling: starts the next queued reading.
    void SpeechEnded();
    // The Stop command: drops the waiting readings and abandons a check or a refresh in
    // progress.
    void Stop();
    // Update All, which the timer's automatic refresh runs too: retrieves every My City and
    // stores those that succeeded; a failed one keeps its stored record. Stop and Exit end it
    // before the next city. Tells the host before and after. Does nothing while a refresh runs.
    void RetrieveMyCities();
    bool IsRefreshing() const { return refreshing_; }

    AutoQueueClass& Queue() { return queue_; }
    // Slots (HHMM) of the last check and of the last automatic refresh (0 before the first).
    int LastAutoCheck() const { return lastAutoCheck_; }

private:
    void DoTick(const ClockTime& now);
    int AutoUpdateInterval();
    bool RefreshDue(const ClockTime& now);
    bool CheckDue(const ClockTime& now) const;
    void RunCheck(const ClockTime& now);
    bool Abandoned() const;
    void QueueSummary(const AutoItemClass& item);
    void QueueCity(const AutoItemClass& item);
    std::string ComposeFor(const std::string& key, const std::string& itemName, bool fromStore);
    std::string Compose(const CityDataClass& record, const std::string& itemName, bool fresh) const;
    bool Retrieve(const std::string& key, CityDataClass& record);
    void Store(const std::string& key, CityDataClass& record);
    void StartNextWhenQuiet();
    void ProcessNext();

    AutoReadHost& host_;
    const MyCitiesClass& myCities_;
    const IntroClass& intro_;
    const WallClock& clock_;
    AutoQueueClass queue_;

    int lastAutoCheck_ = 0;
    int lastCheckDate_ = 0;
    int lastAutoUpdate_ = 0;
    int lastUpdateDate_ = 0; // 0 until the first refresh
    bool justUpdated_ = false;

    bool working_ = false;             // a tick is running (its retrievals let events through)
    bool refreshing_ = false;          // a refresh of My Cities is running
    bool cancelled_ = false;           // Stop came while a tick or a refresh was running
    bool gaveUp_ = false;              // a retrieval of this tick ran into the time limits
    std::set<std::string> failedKeys_; // My Cities the last refresh could not retrieve
    std::string reportedSetting_;      // an unreadable "AutoUpdate" text, logged once
};

} // namespace olv
