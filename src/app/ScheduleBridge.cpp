#include "app/ScheduleBridge.h"

#include "app/CitySession.h"
#include "app/CityViews.h"
#include "app/ReadingCommands.h"
#include "settings/TBaseRegistryClass.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <QTimer>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace olv {
namespace {

static_assert(kScheduledReading == AutoReadScheduler::kScheduledReading);

constexpr double kMaxOffsetMinutes = 366.0 * 24 * 60;

// The clock a test of the whole program asks for, or null.
std::unique_ptr<WallClock> TestClock() {
    const char* text = std::getenv(ScheduleBridge::kTestClockOffset);
    if (text == nullptr || *text == '\0')
        return nullptr;
    // Not strtod: the window runs in the user's locale, whose decimal point may be a comma.
    double minutes = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, minutes);
    if (error != std::errc() || stop != end || !std::isfinite(minutes) ||
        std::abs(minutes) > kMaxOffsetMinutes) {
        Log(std::string(ScheduleBridge::kTestClockOffset) + " \"" + text +
            "\" is not a number of minutes: scheduled reading keeps the computer's clock");
        return nullptr;
    }
    const std::chrono::seconds offset(std::llround(minutes * 60));
    Log("Scheduled reading runs " + Decimal(offset.count()) +
        " seconds off the computer's clock (" + ScheduleBridge::kTestClockOffset + ")");
    return std::make_unique<OffsetClock>(offset);
}

const WallClock& ChosenClock(const WallClock* given, const WallClock* test) {
    if (given)
        return *given;
    if (test)
        return *test;
    return SystemClock::Instance();
}

std::string RefreshStatus(const MyCitiesRefresh& refresh) {
    if (refresh.Stopped)
        return "Update All stopped";
    if (refresh.Tried == 0)
        return "My Cities is empty: add cities under Global Locations";
    if (refresh.Failed.empty())
        return "All My Cities updated";
    const size_t failed = refresh.Failed.size();
    return "Updated " + Decimal(int64_t(refresh.Tried - failed)) + " of " +
           Decimal(int64_t(refresh.Tried)) + " cities; could not update " +
           CitySession::PlaceOf(refresh.Failed.front()) + (failed > 1 ? " and others" : "");
}

} // namespace

ScheduleBridge::ScheduleBridge(TBaseRegistryClass& settings, CitySession& cities, CityViews& views,
                               ReadingCommands& readings, const IntroClass& intro,
                               const WallClock* clock)
    : settings_(settings), cities_(cities), views_(views), readings_(readings),
      testClock_(clock ? nullptr : TestClock()), clock_(ChosenClock(clock, testClock_.get())),
      scheduler_(*this, cities.MyCities, intro, clock_) {
    readings_.Schedule = &scheduler_;
}

void ScheduleBridge::Start(QTimer& timer) {
    timer_ = &timer;
    QObject::connect(&timer, &QTimer::timeout, &timer,
                     [this] { cities_.RunAsOneRetrieval([this] { scheduler_.Tick(); }); });
    timer.start();
}

void ScheduleBridge::UpdateAll() {
    if (cities_.IsRetrieving() || scheduler_.IsRefreshing()) {
        views_.ShowStatus(CitySession::kBusy);
        return;
    }
    cities_.RunAsOneRetrieval([this] { scheduler_.RetrieveMyCities(); });
}

bool ScheduleBridge::IsIdle() const {
    return cities_.Idle;
}

bool ScheduleBridge::IsRandomMode() const {
    return readings_.RandomMode;
}

int ScheduleBridge::ReadingKind() const {
    return readings_.ReadingKind;
}

// The tick itself runs as one retrieval of the session: only a running script, or a refresh
// (which may be waiting for the update check), holds it back.
bool ScheduleBridge::IsRetrieving() const {
    return cities_.Retriever.RunningScript() != nullptr || scheduler_.IsRefreshing();
}

bool ScheduleBridge::IsClosing() const {
    return cities_.Closing;
}

std::string ScheduleBridge::AutoUpdateSetting() const {
    return settings_.GetValue("AutoUpdate").AsString();
}

bool ScheduleBridge::UseMetric() const {
    return cities_.UseMetric;
}

void ScheduleBridge::EnableAutoReadTimer(bool enabled) {
    if (!timer_)
        return;
    if (enabled && !cities_.Closing)
        timer_->start();
    else
        timer_->stop();
}

bool ScheduleBridge::RetrieveCity(const std::string& key, CityDataClass& record) {
    CitySession::Retrieval result = cities_.Retrieve(key);
    record = std::move(result.Record);
    return result.Ok();
}

// The session stores a My City's successful retrieval itself.
void ScheduleBridge::StoreRecord(const CityDataClass&) {}

void ScheduleBridge::MyCitiesRetrieving() {
    shownKey_ = cities_.CurrentCity ? cities_.CurrentCity->FullName : std::string();
    if (cities_.BeforeUpdateAll)
        cities_.BeforeUpdateAll();
}

void ScheduleBridge::MyCitiesRetrieved(const MyCitiesRefresh& refresh) {
    views_.MyCitiesChanged();
    if (cities_.IsMyCity(shownKey_))
        cities_.ShowStoredCity(shownKey_);
    views_.ShowStatus(RefreshStatus(refresh));
}

void ScheduleBridge::SetFileOutput(bool toFile, const std::string& baseName) {
    toFile_ = toFile;
    fileBase_ = baseName;
}

bool ScheduleBridge::Speak(const std::string& text, int kind) {
    const bool toFile = toFile_;
    toFile_ = false;
    if (toFile)
        readings_.SpeakToFile(fileBase_, text, kind);
    else
        readings_.Speak(text, kind);
    return readings_.ReadingKind != kNothingSpoken;
}

} // namespace olv
