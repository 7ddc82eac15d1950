#pragma once

// For the *QtTest programs only: a QCoreApplication for the whole program, with the Qt
// platform (timers, sound devices) installed, and an event pump for waiting.

#include "platform/qt/QtPlatform.h"
#include "speech/support/SpeechTestSupport.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <memory>

namespace olv::test {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "speech-test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QCoreApplication>(argc, argv);
        InstallQtPlatform();
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QCoreApplication> app_;
};

inline bool RunEventsUntil(const std::function<bool()>& done,
                           std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    return WaitUntil(
        done, [] { QCoreApplication::processEvents(); }, timeout);
}

inline void RunEventsFor(std::chrono::milliseconds time) {
    RunEventsUntil([] { return false; }, time);
}

} // namespace olv::test
