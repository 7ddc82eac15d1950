#include "update/TemporaryDownload.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace olv {

TemporaryDownload::TemporaryDownload(const std::string& target) {
    std::string pattern = target + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        problem_ = "Unable to create " + pattern + " - " + std::strerror(errno);
        return;
    }
    ::close(fd);
    path_ = pattern;
}

TemporaryDownload::~TemporaryDownload() {
    if (!path_.empty())
        ::unlink(path_.c_str());
}

} // namespace olv
