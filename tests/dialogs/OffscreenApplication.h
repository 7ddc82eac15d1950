#pragma once

// One QApplication on the offscreen platform (no display here) for a whole widget test
// program, with the Qt platform installed.

#include "platform/qt/EventWait.h"
#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace olv::test {

class OffscreenApplication : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "widget-test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        InstallQtPlatform();
    }
    void TearDown() override {
        // Lets the sound server's last notices about closed streams arrive first: Qt's
        // PulseAudio engine, torn down at exit, aborts on one that comes in meanwhile.
        EventWait::For(std::chrono::milliseconds(300));
        app_.reset();
    }

private:
    std::unique_ptr<QApplication> app_;
};

inline const auto* const kOffscreenApplication =
    ::testing::AddGlobalTestEnvironment(new OffscreenApplication);

} // namespace olv::test
