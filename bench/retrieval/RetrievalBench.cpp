// A whole retrieval (download from a loopback server, the shipped script's run, the record) side
// by side with curl fetching the same response from the same server.

#include "BenchTimer.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "support/ServiceResponses.h"
#include "support/http/HttpTestServer.h"
#include "weather/CityRetriever.h"
#include "weather/LocationListClass.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 21;

void Measure(const std::string& service, const std::string& url, olv::CityRetriever& retriever) {
    olv::LocItemClass item("Bench", "Region|State|Bench", url);
    double retrieveMs = olv::bench::MedianMs(kRuns, [&] {
        olv::NVListClass results;
        olv::LocItemClass copy = item;
        retriever.DoRetrieve(copy, results);
        olv::CityDataClass record(item.Key);
        record.LoadFromResults(results);
        if (!results.Get("ErrorMessage").empty())
            std::fprintf(stderr, "%s\n", results.Get("ErrorMessage").c_str());
    });
    const std::string curl = "curl -s -o /dev/null '" + url + "'";
    double curlMs = olv::bench::MedianMs(kRuns, [&] {
        if (std::system(curl.c_str()) != 0)
            std::fprintf(stderr, "curl failed\n");
    });
    std::printf("%-16s retrieval with script %7.2f ms   curl %7.2f ms   (median of %d)\n",
                service.c_str(), retrieveMs, curlMs, kRuns);
}

} // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / "olvenar-retrieval-bench";
    fs::create_directories(folder);
    for (const char* file : {"Olvenar.chl", "Lookup.dat", "ZipCodes.dat"})
        fs::copy_file(OLVENAR_SOURCE_DIR "/data/" + std::string(file), folder / file,
                      fs::copy_options::overwrite_existing);
    olv::SetProgramFolder(folder.string());

    const std::string nws = olv::test::ServiceResponse(olv::test::kNwsHagatna);
    const std::string meteo = olv::test::ServiceResponse(olv::test::kMeteoCold);
    olv::test::HttpTestServer server([&](const olv::test::HttpTestRequest& request) {
        const bool isNws = request.target.rfind("/MapClick.php", 0) == 0;
        return olv::test::HttpTestResponse::Ok(isNws ? nws : meteo, "application/json");
    });

    olv::LocationListClass locations(OLVENAR_SOURCE_DIR "/data/OVDef.chl");
    olv::CityRetriever retriever(locations);
    Measure("NWS (" + std::to_string(nws.size() / 1024) + " KB)",
            server.Url("/MapClick.php?lat=13.47&lon=144.75&FcstType=json"), retriever);
    Measure("Open-Meteo (" + std::to_string(meteo.size() / 1024) + " KB)",
            server.Url("/v1/forecast?latitude=49.9&longitude=50.0"), retriever);
    fs::remove_all(folder);
    return 0;
}
