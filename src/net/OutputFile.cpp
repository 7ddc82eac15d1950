#include "net/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>

namespace olv {

bool OutputFile::Create(const std::string& path) {
    path_ = path;
    // Never through a symbolic link: a dangling one would create a file wherever it points.
    fd_ =
        UniqueFd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!fd_.Valid()) {
        errorMessage_ = errno == ELOOP ? "the name is a symbolic link" : std::strerror(errno);
        return false;
    }
    return true;
}

void OutputFile::Write(std::string_view block) {
    while (!block.empty()) {
        const ssize_t written = ::write(fd_.Get(), block.data(), block.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            ThrowWriteError(errno);
        }
        block.remove_prefix(static_cast<size_t>(written));
    }
}

void OutputFile::Close() {
    if (!fd_.Valid())
        return;
    // A network or quota file system may report a failed write only here.
    if (::close(fd_.Release()) != 0 && errno != EINTR)
        ThrowWriteError(errno);
}

void OutputFile::ThrowWriteError(int error) const {
    throw std::runtime_error("Unable to write " + path_ + " - " + std::strerror(error));
}

} // namespace olv
