#include "audio/TAtomicFileWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace olv {
namespace {

constexpr size_t kBufferSize = 64 * 1024;

[[noreturn]] void ThrowErrno(int error, const std::string& what) {
    throw std::system_error(error, std::generic_category(), what);
}

mode_t ModeFor(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    return 0644;
}

} // namespace

TAtomicFileWriter::TAtomicFileWriter(std::string path) : path_(std::move(path)) {
    tempPath_ = path_ + ".XXXXXX";
    fd_ = ::mkstemp(tempPath_.data());
    if (fd_ < 0)
        ThrowErrno(errno, "Unable to create " + path_);
    buffer_.reserve(kBufferSize);
}

TAtomicFileWriter::~TAtomicFileWriter() {
    Discard();
}

void TAtomicFileWriter::Discard() noexcept {
    if (fd_ < 0)
        return;
    ::close(fd_);
    ::unlink(tempPath_.c_str());
    fd_ = -1;
}

void TAtomicFileWriter::Write(const void* data, size_t size) {
    if (fd_ < 0)
        ThrowErrno(EBADF, "Unable to write " + path_);
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
            ThrowErrno(n < 0 ? errno : EIO, "Unable to write " + path_);
        next += n;
        left -= static_cast<size_t>(n);
    }
}

void TAtomicFileWriter::WriteAt(uint64_t offset, const void* data, size_t size) {
    if (fd_ < 0)
        ThrowErrno(EBADF, "Unable to write " + path_);
    FlushBuffer();
    const char* next = static_cast<const char*>(data);
    auto at = static_cast<off_t>(offset);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd_, next, size, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ThrowErrno(n < 0 ? errno : EIO, "Unable to write " + path_);
        next += n;
        at += n;
        size -= static_cast<size_t>(n);
    }
}

void TAtomicFileWriter::Commit() {
    if (fd_ < 0)
        ThrowErrno(EBADF, "Unable to write " + path_);
    FlushBuffer();
    if (::fchmod(fd_, ModeFor(path_)) != 0 || ::fsync(fd_) != 0)
        ThrowErrno(errno, "Unable to write " + path_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tempPath_.c_str());
        ThrowErrno(error, "Unable to write " + path_);
    }
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempPath_.c_str());
        ThrowErrno(error, "Unable to replace " + path_);
    }
}

} // namespace olv
