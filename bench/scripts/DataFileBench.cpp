// Data-file figures: a file of about 1 MB (a large "MyCitiesData.chl"), and the shapes that
// must stay linear: storing again a record with very many forecast periods, a file whose keys
// nest thousands of levels deep, and a list whose stored count is absurd.
// Usage: bench_datafile [case...] (cases: large, periods, deep, count; all when none given)

#include "BenchTimer.h"
#include "scripts/GrabBaseClass.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void LargeFile() {
    olv::GrabBaseClass store;
    for (int city = 0; store.SaveToText().size() < 1'000'000; ++city) {
        const std::string key = "/Region|State|City " + std::to_string(city);
        store.AddKey("/", key.substr(1));
        for (int value = 0; value < 40; ++value)
            store.SetValue(key, "Value" + std::to_string(value),
                           "Partly cloudy, high near 75. " + std::to_string(value));
    }
    const std::string file =
        (std::filesystem::temp_directory_path() / "olvenar-bench.chl").string();
    std::string message;
    store.SaveToFile(file, message);
    const auto bytes = std::filesystem::file_size(file);

    olv::GrabBaseClass loaded;
    const double loadMs = olv::bench::MedianMs(15, [&] { loaded.LoadFromFile(file, message); });
    const double saveMs = olv::bench::MedianMs(15, [&] { loaded.SaveToFile(file, message); });
    std::printf("data file of %ju bytes, %zu keys: load %.2f ms, save %.2f ms (median of 15)\n",
                static_cast<uintmax_t>(bytes), loaded.Root.Children.size(), loadMs, saveMs);
    std::filesystem::remove(file);
}

// What storing a city's record does: read the file, replace both forecast lists, write it.
void StoreAgain(int periods) {
    const std::string path = "/United States|MA|Boston";
    std::vector<std::string> headers;
    std::vector<std::string> texts;
    for (int i = 0; i < periods; ++i) {
        headers.push_back("Period " + std::to_string(i));
        texts.push_back("Partly cloudy, with a high near 75. Period " + std::to_string(i) + ".");
    }
    olv::GrabBaseClass first;
    first.SetList(path, "ForecastHeader", headers);
    first.SetList(path, "ForecastText", texts);
    const std::string fileText = first.SaveToText();

    const double ms = olv::bench::MedianMs(1, [&] {
        olv::GrabBaseClass store;
        store.LoadFromText(fileText);
        store.SetList(path, "ForecastHeader", headers);
        store.SetList(path, "ForecastText", texts);
        store.SaveToText();
    });
    std::printf("store again a record of %d periods: %.2f ms\n", periods, ms);
}

void DeepFile(int levels) {
    std::string text;
    for (int i = 0; i < levels; ++i)
        text += "<key n=L" + std::to_string(i) + "><V>" + std::to_string(i) + "</V>";
    for (int i = 0; i < levels; ++i)
        text += "</key n>";
    olv::GrabBaseClass store;
    const double ms = olv::bench::MedianMs(1, [&] { store.LoadFromText(text); });
    std::printf("read a file nested %d levels deep (%zu bytes): %.2f ms\n", levels, text.size(),
                ms);
}

void HugeCount() {
    olv::GrabBaseClass store;
    store.LoadFromText("<MyCitiesList>2147483647</MyCitiesList>"
                       "<MyCitiesList0>United States|MA|Boston</MyCitiesList0>");
    std::vector<std::string> list;
    const double readMs =
        olv::bench::MedianMs(1, [&] { store.GetList("/", "MyCitiesList", list); });
    const double writeMs =
        olv::bench::MedianMs(1, [&] { store.SetList("/", "MyCitiesList", {"a"}); });
    std::printf("a list count of 2147483647: read %.2f ms (%zu entries), write over it %.2f ms\n",
                readMs, list.size(), writeMs);
}

bool Wanted(int argc, char** argv, const std::string& name) {
    if (argc < 2)
        return true;
    for (int i = 1; i < argc; ++i)
        if (argv[i] == name)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (Wanted(argc, argv, "large"))
        LargeFile();
    if (Wanted(argc, argv, "periods")) {
        StoreAgain(10'000);
        StoreAgain(50'000);
    }
    if (Wanted(argc, argv, "deep"))
        DeepFile(4'000);
    if (Wanted(argc, argv, "count"))
        HugeCount();
    return 0;
}
