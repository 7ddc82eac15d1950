#include "net/SocketWaiter.h"

#include "net/EHttpError.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <utility>

namespace olv {

SocketWaiter::SocketWaiter(std::chrono::milliseconds idleTimeout, std::function<void()> checkpoint)
    : idleTimeout_(idleTimeout), checkpoint_(std::move(checkpoint)) {}

void SocketWaiter::WaitFor(int fd, short events) {
    const auto start = Clock::now();
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(kSlice.count()));
        checkpoint_();
        if (ready > 0)
            return;
        if (ready < 0 && errno != EINTR)
            return; // the next socket call reports the error
        ThrowIfIdleSince(start);
    }
}

void SocketWaiter::WaitUntil(const std::function<bool()>& done) {
    const auto start = Clock::now();
    // Most answers come within a millisecond or two: look often at first, then every slice.
    auto pause = std::chrono::milliseconds(1);
    while (!done()) {
        ::poll(nullptr, 0, static_cast<int>(pause.count()));
        pause = std::min(pause * 2, kSlice);
        checkpoint_();
        ThrowIfIdleSince(start);
    }
}

void SocketWaiter::ThrowIfIdleSince(Clock::time_point start) const {
    if (Clock::now() - start >= idleTimeout_)
        throw EHttpError("Connection timed out");
}

} // namespace olv
