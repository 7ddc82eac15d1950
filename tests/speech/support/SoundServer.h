#pragma once

#include <string>
#include <sys/types.h>

namespace olv::test {

// The private PulseAudio server that tools/run-tests starts, with its two null sinks
// "olvtest" (the default, "OlvTest") and "second" ("SecondNull").
class SoundServer {
public:
    // True when the server answers and has both sinks. It first waits until no other test
    // process uses the server and then keeps it for the rest of this process (one test per
    // process under ctest), so that tests run in parallel do not hear each other's sound.
    static bool Available();
    // Available(); when the server is missing and OLVENAR_REQUIRE_SOUND_SERVER is set, a
    // test failure saying so (tools/run-tests sets it), so that it is not silently skipped.
    // Tests open with: if (!SoundServer::Usable()) GTEST_SKIP() << ...;
    static bool Usable();
};

// Records what a sink plays, from its monitor, into a WAV file (22050 Hz mono), with parec.
// parec drops its first moments: start it about a second before the sound.
class MonitorRecorder {
public:
    MonitorRecorder(const std::string& sink, std::string path);
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;
    ~MonitorRecorder();

    bool Started() const { return pid_ > 0; }
    // Ends the recording; the file is then complete.
    void Stop();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    pid_t pid_ = -1;
};

} // namespace olv::test
