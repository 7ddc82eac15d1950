#include "platform/FileLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace olv {

FileLock::FileLock(const std::string& path, Mode mode, std::chrono::milliseconds patience) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        error_ = "cannot open " + path + ": " + std::strerror(errno);
        return;
    }
    const int operation = (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    // flock has no timed wait: try again at short intervals until patience runs out.
    constexpr auto kStep = std::chrono::milliseconds(10);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (::flock(fd_, operation) == 0) {
            held_ = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error_ = "cannot lock " + path + ": " + std::strerror(errno);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error_ = "another program holds " + path;
            return;
        }
        std::this_thread::sleep_for(kStep);
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0)
        ::close(fd_); // releases the lock
}

bool FileLock::Share() {
    held_ = held_ && ::flock(fd_, LOCK_SH | LOCK_NB) == 0;
    return held_;
}

} // namespace olv
