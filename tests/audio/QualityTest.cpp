#include "audio/EAudioFileError.h"
#include "audio/TMP3Class.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

struct QualityRow {
    const char* Text; // shown to the user and stored in the settings: exact to the blank
    int Bitrate;
    int SampleRate;
    const char* Channels;
    bool NaturalVoicesOnly;
};

const QualityRow kQualities[] = {
    {"16 kbps  11.02 KHz  Mono", 16, 11025, "Mono", false},
    {"24 kbps  16.00 KHz  Mono", 24, 16000, "Mono", true},
    {"32 kbps  22.05 KHz  Mono", 32, 22050, "Mono", false},
    {"40 kbps  22.05 KHz  Mono", 40, 22050, "Mono", false},
    {"40 kbps  32.00 KHz  Mono", 40, 32000, "Mono", true},
    {"48 kbps  22.05 KHz  Mono", 48, 22050, "Mono", false},
    {"48 kbps  32.00 KHz  Mono", 48, 32000, "Mono", true},
    {"56 kbps  44.1 KHz   Mono", 56, 44100, "Mono", false},
    {"64 kbps  44.1 KHz   Mono", 64, 44100, "Mono", false},
    {"64 kbps  48.00 KHz  Mono", 64, 48000, "Mono", true},
    {"64 kbps  22.05 KHz  Stereo", 64, 22050, "Stereo", false},
    {"80 kbps  22.05 KHz  Stereo", 80, 22050, "Stereo", false},
    {"80 kbps  32.00 KHz  Stereo", 80, 32000, "Stereo", true},
    {"96 kbps  22.05 KHz  Stereo", 96, 22050, "Stereo", false},
    {"96 kbps  32.00 KHz  Stereo", 96, 32000, "Stereo", true},
    {"112 kbps  44.1 KHz  Stereo", 112, 44100, "Stereo", false},
    {"128 kbps  44.1 KHz  Stereo", 128, 44100, "Stereo", false},
};

// The list is appended to, in the order shown; natural voices add their qualities in place.
TEST(Quality, OfferedInOrderWithTheNaturalVoicesOnesOnlyForThem) {
    for (const bool natural : {false, true}) {
        std::vector<std::string> expected{"kept"};
        for (const QualityRow& row : kQualities)
            if (natural || !row.NaturalVoicesOnly)
                expected.emplace_back(row.Text);
        std::vector<std::string> offered{"kept"};
        TMP3Class(natural).FillQualities(offered);
        EXPECT_EQ(offered, expected) << "natural voices: " << natural;
    }
}

TEST(Quality, EveryOfferedStringIsParsedStartingAtTheDefault) {
    TMP3Class writer(true);
    EXPECT_EQ(writer.DefaultQuality(), "32 kbps  22.05 KHz  Mono");
    EXPECT_EQ(writer.Quality(), writer.DefaultQuality());
    EXPECT_EQ(writer.EncodeRate(), 22050);
    for (const QualityRow& row : kQualities) {
        SCOPED_TRACE(row.Text);
        writer.SetQuality(row.Text);
        EXPECT_EQ(writer.Quality(), row.Text);
        EXPECT_EQ(writer.Bitrate(), row.Bitrate);
        EXPECT_EQ(writer.SampleRate(), row.SampleRate);
        EXPECT_EQ(writer.EncodeRate(), row.SampleRate);
        EXPECT_EQ(writer.Channels(), row.Channels);
    }
}

TEST(Quality, RefusedStringsChangeNothingAndLetterCaseDoesNotMatter) {
    TMP3Class writer(false);
    writer.SetQuality("64 kbps  22.05 KHz  Stereo");
    // Only offered with natural voices; spacing matters; not a quality at all.
    for (const std::string refused : {"24 kbps  16.00 KHz  Mono", "32 kbps 22.05 KHz Mono", ""}) {
        EXPECT_FALSE(writer.IsValidQuality(refused));
        try {
            writer.SetQuality(refused);
            ADD_FAILURE() << "accepted " << refused;
        } catch (const EAudioFileError& error) {
            EXPECT_EQ(error.what(), "Quality string \"" + refused + " is invalid");
        }
    }
    EXPECT_FALSE(writer.IsValidQuality("16 kbps  11.02 KHz  Mono "));
    EXPECT_EQ(writer.Quality(), "64 kbps  22.05 KHz  Stereo");
    EXPECT_EQ(writer.Bitrate(), 64);
    EXPECT_EQ(writer.Channels(), "Stereo");

    writer.SetQuality("80 KBPS  22.05 khz  STEREO");
    EXPECT_EQ(writer.Quality(), "80 KBPS  22.05 khz  STEREO");
    EXPECT_EQ(writer.Channels(), "Stereo");
    EXPECT_EQ(writer.ChannelCount(), 2);
}

} // namespace
} // namespace olv
