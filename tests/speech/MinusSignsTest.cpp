// The speak step's minus signs.

#include "speech/MinusSigns.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

TEST(MinusSignsTest, OnlySignsBeforeNumbersAreSpokenAsMinus) {
    EXPECT_EQ(SpokenMinusSigns("-5 degrees"), " minus 5 degrees");
    EXPECT_EQ(SpokenMinusSigns("a low of -12. Wind chill (-20)"),
              "a low of  minus 12. Wind chill ( minus 20)");
    // Hyphens in words and ranges are not signs: "mid minus 70s" would be plainly wrong.
    EXPECT_EQ(SpokenMinusSigns("highs in the mid-70s, 5-10 mph"), "highs in the mid-70s, 5-10 mph");
    EXPECT_EQ(SpokenMinusSigns("north-northwest - then calm -"), "north-northwest - then calm -");
    EXPECT_EQ(SpokenMinusSigns(""), "");
}

} // namespace
} // namespace olv
