// A script of 60 skipto/grabto lines cutting ten values (and their units) out of a 500 KB JSON
// page, side by side with jq extracting the same values from the same file.

#include "BenchTimer.h"
#include "platform/Paths.h"
#include "scripts/ScriptClass.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kKeys = {
    "temperature_2m", "relative_humidity_2m", "dew_point_2m", "weather_code", "pressure_msl",
    "wind_speed_10m", "wind_direction_10m",   "visibility",   "cloud_cover",  "precipitation"};

// An Open-Meteo-like response: long hourly arrays first, the current values at the very end,
// so that every search crosses the whole page.
std::string MakePage() {
    std::string page = R"({"latitude":42.36,"longitude":-71.06,"hourly":{"time":[)";
    for (int i = 0; page.size() < 500'000; ++i)
        page += "\"2026-12-06T" + std::to_string(i % 24) + ":00\",\n";
    page += "\"end\"]},\"current_units\":{";
    for (const auto& key : kKeys)
        page += "\"" + key + "\":\"unit-" + key + "\",";
    page += "\"interval\":\"seconds\"},\"current\":{";
    for (size_t i = 0; i < kKeys.size(); ++i)
        page += "\"" + kKeys[i] + "\":" + std::to_string(10 + i) + ".5,";
    page += "\"interval\":900}}\n";
    return page;
}

// skipto leaves the scan position on the second character of the match: skip the rest of it.
std::string SkipTo(const std::string& mark) {
    return "skipto '" + mark + "' '1' p|skip '" + std::to_string(mark.size() - 1) + "'|";
}

std::string MakeScript() {
    std::string script = "script|loadfile 'page.json'|";
    for (const auto& key : kKeys) {
        script += "setvar Ptr '1'|";
        script += SkipTo("\"current_units\":{") + SkipTo("\"" + key + "\":\"") + "grabto Unit_" +
                  key + " '\"'|";
        script += SkipTo("\"current\":{") + SkipTo("\"" + key + "\":") + "grabto " + key + " ','|";
    }
    return script + "end|";
}

} // namespace

int main() {
    const auto folder = std::filesystem::temp_directory_path() / "olvenar-script-bench";
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    olv::SetProgramFolder(folder.string());
    const std::string page = MakePage();
    std::ofstream("page.json", std::ios::binary) << page;

    const std::string script = MakeScript();
    olv::NVListClass vars;
    olv::ScriptClass runner;
    int result = 0;
    const double scriptMs = olv::bench::MedianMs(30, [&] {
        vars.Clear();
        runner.LoadScriptText(script, vars);
        result = runner.Run();
    });
    std::printf(
        "script: %zu lines over %zu bytes: %.2f ms per run (median of 30), result %d, %s=%s\n",
        runner.Lines().size(), page.size(), scriptMs, result, kKeys[7].c_str(),
        vars.Get(kKeys[7]).c_str());

    std::string filter = "jq -r '";
    for (size_t i = 0; i < kKeys.size(); ++i)
        filter +=
            std::string(i ? ", " : "") + ".current_units." + kKeys[i] + ", .current." + kKeys[i];
    filter += "' page.json > jq.out";
    const double jqMs = olv::bench::MedianMs(30, [&] {
        if (std::system(filter.c_str()) != 0)
            std::printf("jq failed\n");
    });
    std::printf("jq:     the same 10 values and units: %.2f ms per run (median of 30, process "
                "start included)\n",
                jqMs);
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
    return 0;
}
