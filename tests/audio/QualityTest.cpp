#include "audio/EAudioFileError.h"
#include "audio/TMP3Class.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

const std::vector<std::string> kAllQualities = {
    "16 kbps  11.02 KHz  Mono",   "24 kbps  16.00 KHz  Mono",   "32 kbps  22.05 KHz  Mono",
    "40 kbps  22.05 KHz  Mono",   "40 kbps  32.00 KHz  Mono",   "48 kbps  22.05 KHz  Mono",
    "48 kbps  32.00 KHz  Mono",   "56 kbps  44.1 KHz   Mono",   "64 kbps  44.1 KHz   Mono",
    "64 kbps  48.00 KHz  Mono",   "64 kbps  22.05 KHz  Stereo", "80 kbps  22.05 KHz  Stereo",
    "80 kbps  32.00 KHz  Stereo", "96 kbps  22.05 KHz  Stereo", "96 kbps  32.00 KHz  Stereo",
    "112 kbps  44.1 KHz  Stereo", "128 kbps  44.1 KHz  Stereo",
};

std::string QualityError(TMP3Class& writer, const std::string& quality) {
    try {
        writer.SetQuality(quality);
    } catch (const EAudioFileError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(Quality, NaturalVoicesAddTheirQualitiesInPlace) {
    std::vector<std::string> natural{"kept"};
    TMP3Class(true).FillQualities(natural);
    natural.erase(natural.begin()); // FillQualities appends
    EXPECT_EQ(natural, kAllQualities);

    std::vector<std::string> standard;
    TMP3Class(false).FillQualities(standard);
    const std::vector<std::string> expected = {
        kAllQualities[0],  kAllQualities[2],  kAllQualities[3],  kAllQualities[5],
        kAllQualities[7],  kAllQualities[8],  kAllQualities[10], kAllQualities[11],
        kAllQualities[13], kAllQualities[15], kAllQualities[16]};
    EXPECT_EQ(standard, expected);
}

TEST(Quality, StartsAtTheDefault) {
    TMP3Class writer(false);
    EXPECT_EQ(writer.DefaultQuality(), "32 kbps  22.05 KHz  Mono");
    EXPECT_EQ(writer.Quality(), writer.DefaultQuality());
    EXPECT_EQ(writer.Bitrate(), 32);
    EXPECT_EQ(writer.SampleRate(), 22050);
    EXPECT_EQ(writer.EncodeRate(), 22050);
    EXPECT_EQ(writer.Channels(), "Mono");
}

TEST(Quality, EveryOfferedStringIsParsed) {
    struct Expected {
        int Bitrate;
        int SampleRate;
        const char* Channels;
    };
    const Expected expected[] = {
        {16, 11025, "Mono"},    {24, 16000, "Mono"},    {32, 22050, "Mono"},
        {40, 22050, "Mono"},    {40, 32000, "Mono"},    {48, 22050, "Mono"},
        {48, 32000, "Mono"},    {56, 44100, "Mono"},    {64, 44100, "Mono"},
        {64, 48000, "Mono"},    {64, 22050, "Stereo"},  {80, 22050, "Stereo"},
        {80, 32000, "Stereo"},  {96, 22050, "Stereo"},  {96, 32000, "Stereo"},
        {112, 44100, "Stereo"}, {128, 44100, "Stereo"},
    };
    TMP3Class writer(true);
    for (size_t i = 0; i < kAllQualities.size(); ++i) {
        SCOPED_TRACE(kAllQualities[i]);
        writer.SetQuality(kAllQualities[i]);
        EXPECT_EQ(writer.Quality(), kAllQualities[i]);
        EXPECT_EQ(writer.Bitrate(), expected[i].Bitrate);
        EXPECT_EQ(writer.SampleRate(), expected[i].SampleRate);
        EXPECT_EQ(writer.EncodeRate(), expected[i].SampleRate);
        EXPECT_EQ(writer.Channels(), expected[i].Channels);
    }
}

TEST(Quality, RefusedStringsChangeNothing) {
    TMP3Class writer(false);
    writer.SetQuality("64 kbps  22.05 KHz  Stereo");
    // Only offered with natural voices; spacing matters; not a quality at all.
    EXPECT_EQ(QualityError(writer, "24 kbps  16.00 KHz  Mono"),
              "Quality string \"24 kbps  16.00 KHz  Mono is invalid");
    EXPECT_EQ(QualityError(writer, "32 kbps 22.05 KHz Mono"),
              "Quality string \"32 kbps 22.05 KHz Mono is invalid");
    EXPECT_EQ(QualityError(writer, ""), "Quality string \" is invalid");
    EXPECT_FALSE(writer.IsValidQuality("16 kbps  11.02 KHz  Mono "));
    EXPECT_EQ(writer.Quality(), "64 kbps  22.05 KHz  Stereo");
    EXPECT_EQ(writer.Bitrate(), 64);
    EXPECT_EQ(writer.Channels(), "Stereo");
}

TEST(Quality, LetterCaseDoesNotMatter) {
    TMP3Class writer(true);
    EXPECT_TRUE(writer.IsValidQuality("80 KBPS  32.00 khz  STEREO"));
    writer.SetQuality("80 KBPS  32.00 khz  STEREO");
    EXPECT_EQ(writer.Quality(), "80 KBPS  32.00 khz  STEREO");
    EXPECT_EQ(writer.SampleRate(), 32000);
    EXPECT_EQ(writer.Channels(), "Stereo");
    EXPECT_EQ(writer.ChannelCount(), 2);
}

} // namespace
} // namespace olv
