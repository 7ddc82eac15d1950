#pragma once

#include <chrono>
#include <string>

namespace olv {

// An advisory lock (flock) on a lock file, held while the object lives. Locks of other
// processes, and of other FileLock objects of this one, on the same file are respected.
class FileLock {
public:
    enum class Mode { Shared, Exclusive };

    // Opens the lock file (creating it, mode 0600) and waits at most patience for the lock.
    // Held() tells whether it was granted; Error() says why not.
    FileLock(const std::string& path, Mode mode, std::chrono::milliseconds patience);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    bool Held() const { return held_; }
    const std::string& Error() const { return error_; }
    // Turns a held exclusive lock into a shared one. False when that failed.
    bool Share();

private:
    int fd_ = -1;
    bool held_ = false;
    std::string error_;
};

} // namespace olv
