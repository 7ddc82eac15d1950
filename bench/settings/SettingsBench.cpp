// Settings-file figures: loading a file of 100,000 values (in one key, and spread over keys),
// and one save of a changed value into it.
// Usage: bench_settings

#include "BenchTimer.h"
#include "platform/RegistryStore.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kValues = 100'000;

std::string WriteFile(const std::string& name, int valuesPerKey) {
    const auto file = std::filesystem::temp_directory_path() / name;
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < kValues; ++i) {
        if (i % valuesPerKey == 0)
            out << "[Software\\HalvernWorks\\Olvenar\\Key" << i / valuesPerKey << "]\n";
        out << "sz:Value" << i << "=text of value " << i << "\n";
    }
    return file.string();
}

void Measure(const char* what, int valuesPerKey) {
    const std::string file = WriteFile("olvenar-bench-registry", valuesPerKey);
    const double loadMs = olv::bench::MedianMs(1, [&] { olv::RegistryStore store(file); });
    olv::RegistryStore store(file);
    const double saveMs = olv::bench::MedianMs(1, [&] {
        store.WriteString("Software\\HalvernWorks\\Olvenar\\Key0", "Value0", "changed");
        store.WriteString("Software\\HalvernWorks\\Olvenar\\Key0", "Value0", "again");
    });
    std::printf("settings file of %d values, %s: load %.2f ms, two saves %.2f ms\n", kValues, what,
                loadMs, saveMs);
    std::filesystem::remove(file);
    std::filesystem::remove(file + ".lock");
}

} // namespace

int main() {
    Measure("one key", kValues);
    Measure("ten values a key", 10);
    return 0;
}
