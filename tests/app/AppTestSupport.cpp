#include "AppTestSupport.h"

#include "app/Browser.h"
#include "app/TOVForm.h"
#include "dialogs/OffscreenApplication.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "platform/qt/EventWait.h"
#include "support/ServiceResponses.h"
#include "util/Strings.h"
#include "weather/CityDataClass.h"
#include "weather/MyCitiesClass.h"

#include <QTimer>
#include <memory>

namespace olv::test {
namespace {

std::string CityLines(const std::string& name, const std::string& url, const char* coordinates) {
    return name + "\r\n" + url + "\r\n" + coordinates;
}

} // namespace

bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    // The loopback server answers on its own thread: a timer wakes the loop to look again.
    QTimer look;
    look.start(10);
    return EventWait::Until(done, timeout);
}

void RunFor(std::chrono::milliseconds time) {
    EventWait::For(time);
}

AppFixture::AppFixture()
    : server([this](const HttpTestRequest& request) {
          {
              std::lock_guard<std::mutex> lock(mutex_);
              requests_.push_back(request.target);
          }
          HttpTestResponse response = HttpTestResponse::Status(404, "Not Found");
          if (failRequest(request.target))
              response = HttpTestResponse::Status(503, "Service Unavailable");
          else if (StartsWith(request.target, "/MapClick.php") &&
                   request.target.find("gone") == std::string::npos)
              response = HttpTestResponse::Ok(ServiceResponse(kNwsHagatna), "application/json");
          else if (StartsWith(request.target, "/v1/forecast"))
              response = HttpTestResponse::Ok(ServiceResponse(kMeteoCold), "application/json");
          response.delayBefore = serviceDelay;
          return response;
      }) {
    SetProgramFolder(home.Folder());
    MakeFolders(config.Folder());
    RegistryStore::Shared().Open(config.File("registry"));
    Browser::SetOpener([](const QUrl&) { return true; }); // no browser starts here
    WriteCatalogue();
}

AppFixture::~AppFixture() {
    Browser::SetOpener({});
    SetProgramFolder("");
}

void AppFixture::WriteCatalogue() {
    const std::string nws = server.Url("/MapClick.php?lat=13.4719&lon=144.7498&FcstType=json");
    home.Write(
        "OVDef.chl",
        "Test catalogue\r\nAsia\r\nKazakhstan\r\n" +
            CityLines("Atyrau", server.Url("/v1/forecast?latitude=49.9&longitude=50.0"),
                      "49.9\r\n50.0\r\nUp\r\nUp\r\n") +
            "United States\r\nGuam\r\n" +
            CityLines("Dededo", server.Url("/MapClick.php?lat=13.5&gone"), "13.5\r\n144.8\r\n") +
            CityLines("Hagatna", nws, "13.47\r\n144.75\r\nUp\r\n") + "Massachusetts\r\n" +
            CityLines("Boston", nws, "42.36\r\n-71.06\r\nUp\r\nUp\r\nUp\r\n"));
    // The retrieval script and the weather-code table it reads.
    for (const char* shipped : {"Olvenar.chl", "Lookup.dat"}) {
        std::string text;
        ReadWholeFile(std::string(OLVENAR_DATA_DIR) + "/" + shipped, text);
        home.Write(shipped, text);
    }
}

void AppFixture::WriteMyCities(const std::vector<std::string>& keys) {
    MyCitiesClass cities;
    cities.Keys = keys;
    cities.Save();
}

void AppFixture::StoreRecord(const std::string& key, const std::string& name,
                             const std::string& temperature, const std::string& conditions) {
    CityDataClass record(key);
    record.Name = name;
    record.Temperature = temperature;
    record.Conditions = conditions;
    record.Humidity = "50";
    record.Wind = "NW at 10 mph";
    record.SaveRecord(CityDataClass::kMyCitiesDataFile, "/" + key);
}

void AppFixture::WriteSettings(const std::string& lines) {
    config.Write("registry", lines);
    RegistryStore::Shared().Open(config.File("registry"));
}

std::vector<std::string> AppFixture::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

WindowFixture::WindowFixture() {
    WriteMyCities({kBoston, kHagatna});
    StoreRecord(kHagatna, "Hagatna", "77", "Rain");
}

WindowFixture::~WindowFixture() {
    if (window)
        window->Speech().Stop();
}

TOVForm& WindowFixture::Open(StartSwitch start, const WallClock* clock) {
    window.reset();
    window = std::make_unique<TOVForm>(start, clock);
    window->show();
    RunFor(std::chrono::milliseconds(50));
    return *window;
}

} // namespace olv::test
