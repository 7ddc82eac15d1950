#include "support/audio/LameDecode.h"

#include <cstdlib>

namespace olv::test {

bool LameDecode(const std::string& mp3File, const std::string& wavFile) {
    // The names are the tests' own, in temporary folders: quoting them is enough.
    const std::string command = "lame --quiet --decode '" + mp3File + "' '" + wavFile + "'";
    return std::system(command.c_str()) == 0;
}

} // namespace olv::test
