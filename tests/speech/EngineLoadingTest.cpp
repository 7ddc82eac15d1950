// The engines' libraries load when they are first needed (listing the voices loads eSpeak NG
// and no Flite voice; speaking with a voice loads that voice alone), and eSpeak NG never
// reaches for the sound server itself: the program's sound goes through its own output. A
// program of its own, as it watches what the process has loaded from the start.

#include "net/UniqueFd.h"
#include "speech/TTSModes.h"
#include "speech/support/ScopedEnv.h"
#include "support/TempDir.h"

#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>

namespace olv::test {
namespace {

// Whether the process has mapped a library whose file name contains library.
bool Loaded(const std::string& library) {
    std::ifstream maps("/proc/self/maps");
    return std::string(std::istreambuf_iterator<char>(maps), {}).find(library) != std::string::npos;
}

// Stands in for the sound server at the address PULSE_SERVER gives: it counts the clients
// that call and hangs up on them, so that one that does fails at once instead of waiting.
class CountingServer {
public:
    explicit CountingServer(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        const bool listening =
            socket_.Valid() &&
            ::bind(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::listen(socket_.Get(), 8) == 0;
        EXPECT_TRUE(listening);
        thread_ = std::thread([this] { Serve(); });
    }
    ~CountingServer() {
        stop_ = true;
        thread_.join();
    }
    int Calls() const { return calls_; }

private:
    void Serve() {
        while (!stop_) {
            pollfd entry{socket_.Get(), POLLIN, 0};
            if (::poll(&entry, 1, 20) > 0 &&
                UniqueFd(::accept(socket_.Get(), nullptr, nullptr)).Valid())
                ++calls_;
        }
    }

    UniqueFd socket_{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    std::atomic<bool> stop_{false};
    std::atomic<int> calls_{0};
    std::thread thread_;
};

struct CountingSink final : SynthesisSink {
    void Audio(const int16_t*, size_t count) override { frames += count; }
    void Word(uint64_t, size_t) override {}
    bool Cancelled() const override { return false; }
    void WaitForRoom() override {}
    size_t frames = 0;
};

size_t Speak(const TTSModes::Mode& mode) {
    CountingSink sink;
    mode.Engine->Synthesize(*mode.Voice, "Hello there.", SynthParams{}, sink);
    return sink.frames;
}

TEST(EngineLoadingTest, LibrariesLoadWhenNeededAndTheSoundServerIsNeverCalled) {
    const TempDir dir;
    const CountingServer server(dir.File("native"));
    const ScopedEnv address("PULSE_SERVER", ("unix:" + dir.File("native")).c_str());
    const char* const flite[] = {"kal", "kal16", "slt", "rms", "awb"};
    const auto voiceLibrary = [](const std::string& key) {
        return "libflite_cmu_us_" + key + ".so";
    };

    EXPECT_FALSE(Loaded("libespeak-ng.so"));
    EXPECT_FALSE(TTSModes::All().empty());
    EXPECT_TRUE(Loaded("libespeak-ng.so"));
    for (const char* key : flite) {
        EXPECT_TRUE(TTSModes::FindByName(std::string("CMU Flite ") + key)) << key;
        EXPECT_FALSE(Loaded(voiceLibrary(key))) << key;
    }

    const auto kal = TTSModes::FindByName("CMU Flite kal");
    ASSERT_TRUE(kal);
    EXPECT_GT(Speak(*kal), 4000u);
    EXPECT_TRUE(Loaded(voiceLibrary("kal")));
    EXPECT_FALSE(Loaded(voiceLibrary("awb")));
    EXPECT_GT(Speak(*TTSModes::FindByName("eSpeak NG English (America)")), 10000u);
    EXPECT_EQ(server.Calls(), 0);
}

} // namespace
} // namespace olv::test
