#pragma once

#include <chrono>
#include <functional>

namespace olv {

// Waits for a socket in short slices and runs a checkpoint between them (the client's:
// process pending events, then stop if an abort was requested), so no wait ever blocks the
// user interface. A wait that sees nothing for the idle timeout fails with
// "Connection timed out".
class SocketWaiter {
public:
    static constexpr std::chrono::milliseconds kSlice{25};

    SocketWaiter(std::chrono::milliseconds idleTimeout, std::function<void()> checkpoint);

    // Returns when fd is ready for events (POLLIN / POLLOUT), or has failed or hung up.
    void WaitFor(int fd, short events);
    // Returns when done() is true, checking it once per slice.
    void WaitUntil(const std::function<bool()>& done);
    // Lets events run and honours an abort between two pieces of work.
    void Checkpoint() { checkpoint_(); }

private:
    using Clock = std::chrono::steady_clock;
    void ThrowIfIdleSince(Clock::time_point start) const;

    std::chrono::milliseconds idleTimeout_;
    std::function<void()> checkpoint_;
};

} // namespace olv
