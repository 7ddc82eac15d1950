#include "schedule/AutoReadScheduler.h"

#include "report/IntroClass.h"
#include "report/TalkDataClass.h"
#include "schedule/AutoItemClass.h"
#include "schedule/AutoReadHost.h"
#include "util/EConvertError.h"
#include "util/Log.h"
#include "util/Strings.h"
#include "weather/CityDataClass.h"
#include "weather/MyCitiesClass.h"
#include "weather/WeatherUtils.h"

#include <exception>
#include <utility>
#include <vector>

namespace olv {
namespace {

// Sets a flag for the length of a scope, however the scope ends.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

// While a tick works the host's timer is stopped, so that the waits of its retrievals, which
// let events through, cannot start another tick; both are undone however the work ends.
class TickScope {
public:
    TickScope(AutoReadHost& host, bool& working) : host_(host), working_(working) {
        host_.EnableAutoReadTimer(false);
    }
    ~TickScope() { host_.EnableAutoReadTimer(true); }
    TickScope(const TickScope&) = delete;
    TickScope& operator=(const TickScope&) = delete;

private:
    AutoReadHost& host_;
    FlagScope working_;
};

// The city as the reports name it; a ZIP city that was never stored has only its code.
std::string SpokenName(const CityDataClass& record) {
    if (!record.ZIP.empty() && record.Name.empty())
        return "ZIP code " + record.ZIP + ", ";
    return record.GetDisplayName();
}

} // namespace

AutoReadScheduler::AutoReadScheduler(AutoReadHost& host, const MyCitiesClass& myCities,
                                     const IntroClass& intro, const WallClock& clock)
    : host_(host), myCities_(myCities), intro_(intro), clock_(clock) {
    const ClockTime now = clock_.Now();
    lastAutoCheck_ = now.Slot();
    lastCheckDate_ = now.Date;
}

void AutoReadScheduler::Tick() {
    justUpdated_ = false;
    if (host_.IsRandomMode() || working_ || host_.IsRetrieving() || host_.IsClosing())
        return;
    TickScope scope(host_, working_);
    cancelled_ = false;
    gaveUp_ = false;
    try {
        DoTick(clock_.Now());
    } catch (const std::exception& error) {
        Log("AutoReadTimer-> " + std::string(error.what()));
    }
}

void AutoReadScheduler::DoTick(const ClockTime& now) {
    if (RefreshDue(now)) {
        justUpdated_ = true;
        RetrieveMyCities();
        lastAutoUpdate_ = now.Slot();
        lastUpdateDate_ = now.Date;
    }
    if (Abandoned() || host_.ReadingKind() != 0)
        return;
    if (CheckDue(now))
        RunCheck(now);
}

int AutoReadScheduler::AutoUpdateInterval() {
    const std::string text = host_.AutoUpdateSetting();
    try {
        return Number(Trim(text));
    } catch (const EConvertError&) {
        if (text != reportedSetting_)
            Log("AutoReadTimer-> AutoUpdate \"" + text + "\" is not a number, no refresh");
        reportedSetting_ = text;
        return 0;
    }
}

// The elapsed time is the plain difference of the two HHMM numbers, so across an hour
// boundary the refresh comes early (1450 to 1500 counts as 50).
bool AutoReadScheduler::RefreshDue(const ClockTime& now) {
    const int interval = AutoUpdateInterval();
    if (interval <= 0 || !host_.IsIdle() || host_.ReadingKind() != 0)
        return false;
    const int slot = now.Slot();
    const bool newDay =
        lastAutoUpdate_ > slot || (lastUpdateDate_ != 0 && lastUpdateDate_ != now.Date);
    return newDay || interval <= slot - lastAutoUpdate_;
}

bool AutoReadScheduler::CheckDue(const ClockTime& now) const {
    const int slot = now.Slot();
    return slot - lastAutoCheck_ >= 5 || lastAutoCheck_ > slot || now.Date != lastCheckDate_;
}

void AutoReadScheduler::RunCheck(const ClockTime& now) {
    lastAutoCheck_ = now.Slot();
    lastCheckDate_ = now.Date;
    std::vector<AutoItemClass> due;
    AutoItemClass::CollectDue(now.Slot(), now.Date, myCities_.Keys, due);
    for (const AutoItemClass& item : due) {
        if (item.IsSummary())
            QueueSummary(item);
        else
            QueueCity(item);
        if (Abandoned())
            return;
    }
    StartNextWhenQuiet();
}

bool AutoReadScheduler::Abandoned() const {
    return cancelled_ || host_.IsClosing();
}

void AutoReadScheduler::QueueSummary(const AutoItemClass& item) {
    // A copy: the window may change its list while a retrieval lets events through.
    const std::vector<std::string> keys = myCities_.Keys;
    std::string text;
    for (const std::string& key : keys) {
        if (Abandoned())
            return;
        text += ComposeFor(key, item.ItemName, justUpdated_);
    }
    if (!Abandoned())
        queue_.Add(item.ItemName, std::move(text), item.ToFile);
}

void AutoReadScheduler::QueueCity(const AutoItemClass& item) {
    std::string text = ComposeFor(item.CityKey, item.ItemName, false);
    if (!Abandoned())
        queue_.Add(WeatherUtils::AfterLastBar(item.CityKey) + item.ItemName, std::move(text),
                   item.ToFile);
}

// A city that could not be retrieved is read from its stored record, saying when that was
// observed, rather than left out.
std::string AutoReadScheduler::ComposeFor(const std::string& key, const std::string& itemName,
                                          bool fromStore) {
    CityDataClass record(key);
    const bool fresh = fromStore ? failedKeys_.count(key) == 0 : Retrieve(key, record);
    if (fromStore || !fresh) {
        record = CityDataClass(key);
        record.LoadRecord(CityDataClass::kMyCitiesDataFile, "/" + key);
    }
    record.FullName = key;
    return Compose(record, itemName, fresh);
}

std::string AutoReadScheduler::Compose(const CityDataClass& record, const std::string& itemName,
                                       bool fresh) const {
    TalkDataClass talk;
    talk.Load(record.FullName, itemName, TalkDataClass::AutoItemMode);
    const bool metric = host_.UseMetric();
    if (fresh)
        return talk.SummaryText(record, intro_, metric);
    if (record.Temperature.empty())
        return "The weather for " + SpokenName(record) + "could not be retrieved.  ";
    // Not "current": a stored report says when it was observed.
    IntroClass stored = intro_;
    stored.ConditionsIntro = "Here are the conditions for";
    talk.ReadConditionsTime = !record.ConditionsTime.empty();
    talk.ReadForecastTime = !record.ForecastTime.empty();
    return talk.SummaryText(record, stored, metric);
}

bool AutoReadScheduler::Retrieve(const std::string& key, CityDataClass& record) {
    if (gaveUp_) {
        Log("AutoReadTimer-> not retrieving " + key + ", the network did not answer");
        return false;
    }
    const auto started = clock_.Monotonic();
    if (host_.RetrieveCity(key, record)) {
        Store(key, record);
        return true;
    }
    gaveUp_ = clock_.Monotonic() - started >= kSlowFailure;
    Log("AutoReadTimer-> retrieving " + key + " failed, its stored record stays");
    return false;
}

void AutoReadScheduler::Store(const std::string& key, CityDataClass& record) {
    if (myCities_.IndexOf(key) < 0)
        return;
    record.FullName = key;
    try {
        host_.StoreRecord(record);
    } catch (const std::exception& error) {
        Log("AutoReadTimer-> cannot store " + key + ": " + error.what());
    }
}

void AutoReadScheduler::RetrieveMyCities() {
    if (refreshing_)
        return;
    if (!working_) {
        cancelled_ = false;
        gaveUp_ = false;
    }
    FlagScope refreshing(refreshing_);
    host_.MyCitiesRetrieving();
    failedKeys_.clear();
    MyCitiesRefresh refresh;
    // A copy: the window may change its list while a retrieval lets events through.
    const std::vector<std::string> keys = myCities_.Keys;
    for (const std::string& key : keys) {
        if (Abandoned()) {
            refresh.Stopped = true;
            break;
        }
        ++refresh.Tried;
        CityDataClass record(key);
        if (!Retrieve(key, record)) {
            failedKeys_.insert(key);
            refresh.Failed.push_back(key);
        }
    }
    host_.MyCitiesRetrieved(refresh);
}

void AutoReadScheduler::StartNextWhenQuiet() {
    if (host_.ReadingKind() == 0 && !host_.IsRandomMode())
        ProcessNext();
}

void AutoReadScheduler::SpeechEnded() {
    if (!host_.IsRandomMode())
        ProcessNext();
}

void AutoReadScheduler::Stop() {
    queue_.Clear();
    if (working_ || refreshing_)
        cancelled_ = true;
}

// A reading that cannot start is skipped, so that the rest neither waits for an end of
// speech that will not come nor plays much later, out of date.
void AutoReadScheduler::ProcessNext() {
    while (!queue_.Empty()) {
        const AutoQueueItemClass entry = queue_.First();
        queue_.DeleteFirst();
        if (entry.Text.empty()) {
            Log("AutoReadTimer-> " + entry.Title + " has nothing to read");
            continue;
        }
        host_.SetFileOutput(entry.ToFile, entry.Title);
        if (host_.Speak(entry.Text, kScheduledReading))
            return;
        Log("AutoReadTimer-> could not speak " + entry.Title);
        host_.SetFileOutput(false, std::string());
    }
}

} // namespace olv
