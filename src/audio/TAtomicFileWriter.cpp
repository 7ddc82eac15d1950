#include "audio/TAtomicFileWriter.h"

#include "audio/EAudioFileError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace olv {
namespace {

constexpr size_t kBufferSize = 64 * 1024;
// Our own codes: a path that is neither a file, a pipe nor a character device, and a link
// that leads nowhere.
constexpr int kNotWritable = -1;
constexpr int kBrokenLink = -2;

mode_t ModeFor(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    return 0644;
}

} // namespace

std::string TAtomicFileWriter::FailureText(int error, const std::string& path) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return "There is not enough disk space to write " + path;
    case EISDIR:
        return path + " is a folder, not a file";
    case ENOENT:
    case ENOTDIR:
        return "The folder of " + path + " does not exist";
    case EACCES:
    case EPERM:
    case EROFS:
        return "Olvenar may not write " + path;
    case ENXIO:
        return "No program reads from the pipe " + path;
    case EPIPE:
        return "The program reading " + path + " stopped reading";
    case kNotWritable:
        return path + " is neither a file, a pipe nor a character device";
    case kBrokenLink:
        return path + " is a link to a file that does not exist";
    default:
        return "Unable to write " + path + ": " + std::strerror(error);
    }
}

TAtomicFileWriter::TAtomicFileWriter(std::string path) : path_(std::move(path)) {
    buffer_.reserve(kBufferSize);
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0) {
        if (errno != ENOENT)
            Fail(errno);
        // Renaming over a link that leads nowhere would replace the link itself.
        if (::lstat(path_.c_str(), &st) == 0)
            Fail(kBrokenLink);
        OpenTemporary(path_);
        return;
    }
    if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))
        OpenStream();
    else if (S_ISDIR(st.st_mode))
        Fail(EISDIR);
    else if (!S_ISREG(st.st_mode))
        Fail(kNotWritable);
    else
        OpenTemporary(path_);
}

TAtomicFileWriter::~TAtomicFileWriter() {
    Discard();
}

void TAtomicFileWriter::Fail(int error) const {
    throw EAudioFileError(FailureText(error, path_));
}

// Not blocking while it opens: a pipe that nobody reads from is refused rather than waited on.
void TAtomicFileWriter::OpenStream() {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0)
        Fail(errno);
    const int flags = ::fcntl(fd_, F_GETFL);
    ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    stream_ = true;
}

void TAtomicFileWriter::OpenTemporary(const std::string& target) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(target.c_str(), nullptr),
                                                     &std::free);
    target_ = real ? std::string(real.get()) : target;
    tempPath_ = target_ + ".XXXXXX";
    fd_ = ::mkstemp(tempPath_.data());
    if (fd_ < 0)
        Fail(errno);
}

void TAtomicFileWriter::Discard() noexcept {
    if (fd_ < 0)
        return;
    ::close(fd_);
    if (!stream_)
        ::unlink(tempPath_.c_str());
    fd_ = -1;
}

void TAtomicFileWriter::Write(const void* data, size_t size) {
    if (fd_ < 0)
        Fail(EBADF);
    const char* bytes = static_cast<const char*>(data);
    if (buffer_.size() + size > kBufferSize)
        FlushBuffer();
    if (size >= kBufferSize)
        WriteAll(bytes, size);
    else
        buffer_.insert(buffer_.end(), bytes, bytes + size);
    size_ += size;
}

void TAtomicFileWriter::FlushBuffer() {
    WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void TAtomicFileWriter::WriteAll(const char* next, size_t left) {
    while (left > 0) {
        const ssize_t n = ::write(fd_, next, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail(n < 0 ? errno : EIO);
        next += n;
        left -= static_cast<size_t>(n);
    }
}

void TAtomicFileWriter::WriteAt(uint64_t offset, const void* data, size_t size) {
    if (fd_ < 0 || stream_)
        Fail(EBADF);
    FlushBuffer();
    const char* next = static_cast<const char*>(data);
    auto at = static_cast<off_t>(offset);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd_, next, size, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail(n < 0 ? errno : EIO);
        next += n;
        at += n;
        size -= static_cast<size_t>(n);
    }
}

void TAtomicFileWriter::Commit() {
    if (fd_ < 0)
        Fail(EBADF);
    FlushBuffer();
    // Synced before the rename only when it replaces a file: a new one leaves nothing to lose.
    struct stat existing {};
    const bool replaces = !stream_ && ::stat(target_.c_str(), &existing) == 0;
    if (!stream_ && (::fchmod(fd_, ModeFor(target_)) != 0 || (replaces && ::fdatasync(fd_) != 0)))
        Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    const bool closed = ::close(fd) == 0;
    const int error = errno;
    if (stream_) {
        if (!closed)
            Fail(error);
        return;
    }
    if (!closed || ::rename(tempPath_.c_str(), target_.c_str()) != 0) {
        const int failure = closed ? errno : error;
        ::unlink(tempPath_.c_str());
        Fail(failure);
    }
}

} // namespace olv
