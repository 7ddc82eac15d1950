#include "AppTestSupport.h"

#include "app/Browser.h"
#include "app/TOVForm.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "platform/qt/QtPlatform.h"
#include "support/ServiceResponses.h"
#include "util/Strings.h"
#include "weather/CityDataClass.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <thread>

namespace olv::test {
namespace {

// One QApplication for the whole test program, on the offscreen platform (no display here).
class AppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "app-test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        InstallQtPlatform();
    }
    void TearDown() override {
        // Lets the sound server's last notices about closed streams arrive first: Qt's
        // PulseAudio engine, torn down at exit, aborts on one that comes in meanwhile.
        RunFor(std::chrono::milliseconds(300));
        app_.reset();
    }

private:
    std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new AppEnvironment);

std::string CityLines(const std::string& name, const std::string& url, const char* coordinates) {
    return name + "\r\n" + url + "\r\n" + coordinates;
}

} // namespace

bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeout);
    // Looks again whenever events have run; the loop sleeps while nothing happens.
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    look.start(10);
    if (!done())
        loop.exec();
    return done();
}

void RunFor(std::chrono::milliseconds time) {
    QEventLoop loop;
    QTimer::singleShot(time, &loop, &QEventLoop::quit);
    loop.exec();
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
    Browser::SetOpener([this](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
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
    std::string text = "<MyCitiesList>" + Decimal(int64_t(keys.size())) + "</MyCitiesList>\r\n";
    for (size_t i = 0; i < keys.size(); ++i)
        text += "<MyCitiesList" + Decimal(int64_t(i)) + ">" + keys[i] + "</MyCitiesList" +
                Decimal(int64_t(i)) + ">\r\n";
    home.Write("MyCities.chl", text);
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

TOVForm& WindowFixture::Open(StartSwitch start) {
    window.reset();
    window = std::make_unique<TOVForm>(start);
    window->show();
    RunFor(std::chrono::milliseconds(50));
    return *window;
}

void RecordedViews::ShowCity(const CityDataClass& city) {
    Shown.push_back(city.FullName);
    ShownTemperature = city.Temperature;
}

void RecordedViews::SelectCity(int myCityIndex, const std::string& recentKey) {
    SelectedMyCity = myCityIndex;
    SelectedRecent = recentKey;
}

} // namespace olv::test
