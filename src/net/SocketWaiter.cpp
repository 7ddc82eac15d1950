#include "net/SocketWaiter.h"

#include "net/EHttpError.h"

#include <cerrno>
#include <poll.h>
#include <utility>

namespace olv {
namespace {

constexpr const char* kTimedOut = "Connection timed out";

} // namespace

SocketWaiter::SocketWaiter(std::chrono::milliseconds idleTimeout,
                           std::chrono::milliseconds timeLimit, std::function<void()> checkpoint)
    : idleTimeout_(idleTimeout), deadline_(Clock::now() + timeLimit),
      checkpoint_(std::move(checkpoint)) {}

void SocketWaiter::WaitFor(int fd, short events) {
    const auto start = Clock::now();
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(kSlice.count()));
        Checkpoint();
        if (ready > 0 || (ready < 0 && errno != EINTR))
            return; // on an error the next call on fd reports it
        if (Clock::now() - start >= idleTimeout_)
            throw EHttpError(kTimedOut);
    }
}

void SocketWaiter::Checkpoint() {
    checkpoint_();
    // A server that sends a byte now and then must not hold a reading, an update or Exit.
    if (Clock::now() >= deadline_)
        throw EHttpError(kTimedOut);
}

} // namespace olv
