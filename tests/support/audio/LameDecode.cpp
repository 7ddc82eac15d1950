#include "support/audio/LameDecode.h"

#include <spawn.h>
#include <sys/wait.h>

namespace olv::test {

bool LameDecode(const std::string& mp3File, const std::string& wavFile) {
    const char* argv[] = {"lame", "--quiet", "--decode", mp3File.c_str(), wavFile.c_str(), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "lame", nullptr, nullptr, const_cast<char* const*>(argv), environ) !=
        0)
        return false;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace olv::test
