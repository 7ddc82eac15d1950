#pragma once

#include <chrono>
#include <functional>

namespace olv {

// Waits for a descriptor in short slices and runs a checkpoint between them (the client's:
// process pending events, then stop if an abort was requested), so no wait ever blocks the
// user interface. A wait that sees nothing for the idle timeout, and any wait or checkpoint
// after the time limit of the whole request, fails with "Connection timed out".
class SocketWaiter {
public:
    static constexpr std::chrono::milliseconds kSlice{10};

    SocketWaiter(std::chrono::milliseconds idleTimeout, std::chrono::milliseconds timeLimit,
                 std::function<void()> checkpoint);

    // Returns when fd is ready for events (POLLIN / POLLOUT), or has failed or hung up.
    void WaitFor(int fd, short events);
    // Lets events run, honours an abort and enforces the time limit between two pieces of work.
    void Checkpoint();

private:
    using Clock = std::chrono::steady_clock;

    std::chrono::milliseconds idleTimeout_;
    Clock::time_point deadline_;
    std::function<void()> checkpoint_;
};

} // namespace olv
