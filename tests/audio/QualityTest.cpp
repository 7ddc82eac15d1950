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
// Every offered string is parsed, starting at the default.
TEST(Quality, OfferedInOrderAndParsed) {
    for (const bool natural : {false, true}) {
        std::vector<std::string> expected{"kept"}, offered{"kept"};
        for (const QualityRow& row : kQualities)
            if (natural || !row.NaturalVoicesOnly)
                expected.emplace_back(row.Text);
        TMP3Class(natural).FillQualities(offered);
        EXPECT_EQ(offered, expected) << "natural voices: " << natural;
    }
    TMP3Class writer(true);
    EXPECT_EQ(writer.Quality(), "32 kbps  22.05 KHz  Mono");
    for (const QualityRow& row : kQualities) {
        writer.SetQuality(row.Text);
        EXPECT_EQ(writer.Quality(), row.Text);
        EXPECT_EQ(std::vector<int>({writer.Bitrate(), writer.SampleRate(), writer.EncodeRate()}),
                  std::vector<int>({row.Bitrate, row.SampleRate, row.SampleRate}))
            << row.Text;
        EXPECT_EQ(writer.Channels(), row.Channels);
    }
}

// Only offered with natural voices; spacing matters; not a quality at all. Letter case does not.
TEST(Quality, RefusedStringsChangeNothingAndLetterCaseDoesNotMatter) {
    TMP3Class writer(false);
    writer.SetQuality("64 kbps  22.05 KHz  Stereo");
    for (const std::string refused : {"24 kbps  16.00 KHz  Mono", "32 kbps 22.05 KHz Mono", ""}) {
        EXPECT_FALSE(writer.IsValidQuality(refused));
        try {
            writer.SetQuality(refused);
        } catch (const EAudioFileError& error) {
            EXPECT_EQ(error.what(), "Quality string \"" + refused + " is invalid");
        }
    }
    EXPECT_EQ(writer.Quality() + "|" + writer.Channels(), "64 kbps  22.05 KHz  Stereo|Stereo");
    writer.SetQuality("80 KBPS  22.05 khz  STEREO");
    EXPECT_EQ(writer.Quality() + "|" + writer.Channels(), "80 KBPS  22.05 khz  STEREO|Stereo");
}

} // namespace
} // namespace olv
