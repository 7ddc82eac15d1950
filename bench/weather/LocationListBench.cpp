// Times the catalogue questions the window asks on every click. Each one re-reads
// "OVDef.chl", so the figures include reading and parsing the whole shipped catalogue.
// The budget is 20 ms per question. Usage: bench_location_list [catalogue file]

#include "BenchTimer.h"
#include "weather/LocationListClass.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 31;
constexpr double kBudgetMs = 20.0;

void Report(const std::string& what, double medianMs) {
    std::printf("%-40s %7.2f ms median of %d  %s\n", what.c_str(), medianMs, kRuns,
                medianMs < kBudgetMs ? "(within 20 ms)" : "(OVER 20 ms)");
}

} // namespace

int main(int argc, char** argv) {
    const std::string file = argc > 1 ? argv[1] : OLVENAR_DATA_DIR "/OVDef.chl";
    const olv::LocationListClass catalogue(file);
    std::vector<olv::LocItemClass> items;
    try {
        items = catalogue.ReadItems();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    if (items.empty()) {
        std::fprintf(stderr, "%s holds no cities\n", file.c_str());
        return 1;
    }
    const olv::LocItemClass& last = items.back(); // Find's worst case: the last city of the file
    std::printf("%s: %zu cities\n", file.c_str(), items.size());

    std::vector<std::string> list;
    Report("FillRegions", olv::bench::MedianMs(kRuns, [&] { catalogue.FillRegions(list); }));
    Report("FillStates (" + last.Region() + ")",
           olv::bench::MedianMs(kRuns, [&] { catalogue.FillStates(list, last.Region()); }));
    Report("FillCities (" + last.State() + ")", olv::bench::MedianMs(kRuns, [&] {
               catalogue.FillCities(list, last.Region(), last.State());
           }));
    Report("Find (last city)", olv::bench::MedianMs(kRuns, [&] { catalogue.Find(last.Key); }));
    Report("Find (unknown key)",
           olv::bench::MedianMs(kRuns, [&] { catalogue.Find("No|Such|City"); }));
    Report("GetRandomKey", olv::bench::MedianMs(kRuns, [&] { catalogue.GetRandomKey(); }));
    return 0;
}
