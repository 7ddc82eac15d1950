#pragma once

#include <string>
#include <string_view>

namespace olv {

// The speak step's minus signs: each "-" that stands before a digit and is not part of a word or
// a range ("-5", "a low of -12") becomes " minus ", so that engines say "minus 5". Hyphens
// ("mid-70s", "north-northwest") and ranges ("5-10") are left for the engine to read as it does.
std::string SpokenMinusSigns(std::string_view text);

} // namespace olv
