// Times the scheduled-reading tick that runs every 20 seconds all day, with the seven items the
// dialogs offer and 50 My Cities, when nothing is due: the common tick (no check, no refresh)
// and the tick that runs the five-minute check (it reads "Auto.chl" and tests every item).
// The budget is 1 ms per tick. Usage: bench_schedule

#include "BenchTimer.h"
#include "platform/Paths.h"
#include "report/IntroClass.h"
#include "schedule/AutoItemClass.h"
#include "schedule/AutoReadHost.h"
#include "schedule/AutoReadScheduler.h"
#include "weather/MyCitiesClass.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kRuns = 201;
constexpr double kBudgetMs = 1.0;

// A window that is busy with nothing and never needs to retrieve or speak: nothing is due.
class QuietWindow final : public olv::AutoReadHost, public olv::WallClock {
public:
    olv::ClockTime Now() const override { return now; }
    std::chrono::steady_clock::time_point Monotonic() const override {
        return std::chrono::steady_clock::now();
    }
    bool IsIdle() const override { return false; }
    bool IsRandomMode() const override { return false; }
    int ReadingKind() const override { return 0; }
    bool IsRetrieving() const override { return false; }
    std::string AutoUpdateSetting() const override { return "15"; }
    bool UseMetric() const override { return false; }
    void EnableAutoReadTimer(bool) override {}
    bool RetrieveCity(const std::string& key, olv::CityDataClass&) override {
        std::fprintf(stderr, "unexpected retrieval of %s\n", key.c_str());
        return false;
    }
    void SetFileOutput(bool, const std::string&) override {}
    bool Speak(const std::string&, int) override {
        std::fprintf(stderr, "unexpected reading\n");
        return false;
    }

    olv::ClockTime now{20240310, 12, 0};
};

// Two summaries limited to 0100-0200 and five city items at 0300, bound to the last My Cities.
void WriteItems(const std::vector<std::string>& keys) {
    for (int i = 0; i < 7; ++i) {
        olv::AutoItemClass item;
        const bool summary = i < 2;
        item.ItemName =
            summary ? "Summary" + std::to_string(i + 1) : "City" + std::to_string(i - 1);
        item.CityKey = summary ? std::string() : keys[keys.size() - i];
        item.Type = summary ? olv::AutoItemClass::atPeriodic : olv::AutoItemClass::atSpecific;
        item.AtTime = 300;
        item.TimeLimitEnabled = summary;
        item.StartTime = 100;
        item.EndTime = 200;
        item.Enabled = true;
        item.SaveItem();
    }
}

void Report(const char* what, double medianMs) {
    std::printf("%-36s %8.1f microseconds, median of %d  %s\n", what, medianMs * 1000, kRuns,
                medianMs < kBudgetMs ? "(within 1 ms)" : "(OVER 1 ms)");
}

} // namespace

int main() {
    namespace fs = std::filesystem;
    std::string folder = (fs::temp_directory_path() / "olvenar-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    olv::SetProgramFolder(folder + "/");
    olv::MyCitiesClass myCities;
    for (int i = 0; i < 50; ++i)
        myCities.Keys.push_back("United States|State " + std::to_string(i) + "|City " +
                                std::to_string(i));
    WriteItems(myCities.Keys);

    QuietWindow window;
    olv::IntroClass intro;
    olv::AutoReadScheduler scheduler(window, myCities, intro, window);
    Report("tick inside a slot (no check)", olv::bench::MedianMs(kRuns, [&] { scheduler.Tick(); }));
    // Every run is in a new slot between 0400 and 2355, clear of the items' times.
    int minutes = 12 * 60;
    int checks = 0;
    Report("tick with the five-minute check", olv::bench::MedianMs(kRuns, [&] {
               minutes = minutes + 5 < 24 * 60 ? minutes + 5 : 4 * 60;
               window.now.Hour = minutes / 60;
               window.now.Minute = minutes % 60;
               scheduler.Tick();
               checks += scheduler.LastAutoCheck() == window.now.Slot();
           }));
    if (checks != kRuns)
        std::fprintf(stderr, "only %d of %d ticks ran the check\n", checks, kRuns);
    std::vector<olv::AutoItemClass> due;
    Report("CollectDue alone", olv::bench::MedianMs(kRuns, [&] {
               olv::AutoItemClass::CollectDue(1205, 20240310, myCities.Keys, due);
           }));
    fs::remove_all(folder);
    return 0;
}
