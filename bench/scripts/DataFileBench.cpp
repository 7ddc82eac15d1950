// Loads and saves a data file of about 1 MB (the size of a large "MyCitiesData.chl").

#include "BenchTimer.h"
#include "scripts/GrabBaseClass.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main() {
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
    return 0;
}
