#pragma once

// For the *QtTest programs only: a QCoreApplication for the whole program, with the Qt
// platform (timers, sound devices) installed, and waits that block on its event loop.

#include "platform/AudioOutput.h"
#include "platform/qt/EventWait.h"
#include "platform/qt/QtPlatform.h"
#include "speech/support/SoundServer.h"
#include "speech/support/SpeechTestSupport.h"

#include <QCoreApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace olv::test {

inline bool RunEventsUntil(const std::function<bool()>& done,
                           std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    return EventWait::Until(done, timeout);
}

inline void RunEventsFor(std::chrono::milliseconds time) {
    EventWait::For(time);
}

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "speech-test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QCoreApplication>(argc, argv);
        InstallQtPlatform();
    }
    void TearDown() override {
        // Lets the sound server's last notices about closed streams arrive first: Qt's
        // PulseAudio engine, torn down at exit, can abort on one that comes in meanwhile.
        RunEventsFor(std::chrono::milliseconds(300));
        app_.reset();
    }

private:
    std::unique_ptr<QCoreApplication> app_;
};

// The same with no sound server to reach: the address is set before Qt connects.
class NoServerEnvironment : public QtEnvironment {
public:
    void SetUp() override {
        setenv("PULSE_SERVER", "unix:/nonexistent", 1);
        QtEnvironment::SetUp();
    }
};

// The device number of the sink the server calls id, or -2 when it has none.
inline int DeviceNumber(const std::string& id) {
    const auto devices = ListAudioDevices();
    for (size_t i = 0; i < devices.size(); ++i)
        if (devices[i].Id == id)
            return int(i);
    return -2;
}

// What the sinks chosen and other heard while play ran, recorded into folder. Recording
// starts a second early (parec misses its first moments) and ends a little after play.
inline std::pair<Pcm, Pcm> RecordSinks(const std::string& chosenSink, const std::string& otherSink,
                                       const std::string& folder,
                                       const std::function<void()>& play) {
    MonitorRecorder chosen(chosenSink, folder + "chosen.wav");
    MonitorRecorder other(otherSink, folder + "other.wav");
    EXPECT_TRUE(chosen.Started() && other.Started());
    RunEventsFor(std::chrono::milliseconds(1000));
    play();
    RunEventsFor(std::chrono::milliseconds(300));
    chosen.Stop();
    other.Stop();
    return {ReadPcm(chosen.Path()), ReadPcm(other.Path())};
}

} // namespace olv::test
