#pragma once

#include <string>

namespace olv::test {

// Decodes an MP3 file into a WAV file with the lame command. True when lame succeeded.
bool LameDecode(const std::string& mp3File, const std::string& wavFile);

} // namespace olv::test
