#pragma once

// The window's tests: a QApplication on the offscreen platform for the whole program, a
// program folder and settings file of each test's own, the weather services played by a
// loopback server, and message boxes and web pages answered by the test instead of a person.

#include "app/StartUp.h"
#include "support/TempDir.h"
#include "support/WidgetTestSupport.h"
#include "support/http/HttpTestServer.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace olv {
class TOVForm;
class WallClock;
} // namespace olv

namespace olv::test {

inline const std::string kBoston = "United States|Massachusetts|Boston";
inline const std::string kHagatna = "United States|Guam|Hagatna";
inline const std::string kAtyrau = "Asia|Kazakhstan|Atyrau";
inline const std::string kDededo = "United States|Guam|Dededo"; // its page is missing

// Runs the event loop until done() or the timeout; false on timeout.
bool RunUntil(const std::function<bool()>& done,
              std::chrono::milliseconds timeout = std::chrono::seconds(30));
// Runs the event loop for a while.
void RunFor(std::chrono::milliseconds time);

class AppFixture : public ::testing::Test {
protected:
    AppFixture();
    ~AppFixture() override;

    // A catalogue whose cities are served by the loopback server: Atyrau (Open-Meteo),
    // Hagatna (NWS), Dededo (a missing page) and Boston (NWS).
    void WriteCatalogue();
    // My Cities and a stored record for some of them (temperature, conditions).
    void WriteMyCities(const std::vector<std::string>& keys);
    void StoreRecord(const std::string& key, const std::string& name,
                     const std::string& temperature, const std::string& conditions);
    // Settings written before the code under test loads them.
    void WriteSettings(const std::string& lines);
    // Requests the server received so far, by path and query.
    std::vector<std::string> Requests() const;

    TempDir home;
    TempDir config;
    PrompterGuard guard;
    RecordingPrompter& messages = guard.prompter;
    HttpTestServer server;
    std::function<bool(const std::string& target)> failRequest = [](const std::string&) {
        return false;
    };
    std::chrono::milliseconds serviceDelay{0};

private:
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
};

// The main window itself over the fixture's folders, with Boston (never retrieved) and Hagatna
// (77 degrees, rain) in My Cities.
class WindowFixture : public AppFixture {
protected:
    WindowFixture();
    ~WindowFixture() override;
    // A new window, shown, after its first showing's queued steps (the voices are loaded).
    TOVForm& Open(StartSwitch start = StartSwitch::None, const WallClock* clock = nullptr);

    std::unique_ptr<TOVForm> window;
};

} // namespace olv::test
