// The MP3 writer: its qualities, and its two steps: the engine's WAV brought to the rate the
// encoder is told, and the encoding, checked against the format itself. (BaseTTSTest decodes
// what the speech controller encodes.)

#include "audio/EAudioFileError.h"
#include "audio/TMP3Class.h"
#include "audio/TWaveFileReader.h"
#include "platform/MessageHook.h"
#include "support/TempDir.h"
#include "support/audio/Mp3Info.h"
#include "support/audio/ToneWav.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace olv::test {
namespace {

namespace fs = std::filesystem;

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
// Every offered string is parsed; others are refused and change nothing. (The default:
// BaseTTSTest.)
TEST(Mp3Writer, QualitiesAreOfferedInOrderParsedOrRefused) {
    for (const bool natural : {false, true}) {
        std::vector<std::string> expected{"kept"}, offered{"kept"};
        for (const QualityRow& row : kQualities)
            if (natural || !row.NaturalVoicesOnly)
                expected.emplace_back(row.Text);
        TMP3Class(natural).FillQualities(offered);
        EXPECT_EQ(offered, expected) << "natural voices: " << natural;
    }
    TMP3Class writer(true);
    for (const QualityRow& row : kQualities) {
        writer.SetQuality(row.Text);
        EXPECT_EQ(writer.Quality(), row.Text);
        EXPECT_EQ(std::vector<int>({writer.Bitrate(), writer.SampleRate(), writer.EncodeRate()}),
                  std::vector<int>({row.Bitrate, row.SampleRate, row.SampleRate}))
            << row.Text;
        EXPECT_EQ(writer.Channels(), row.Channels);
    }

    // Refused: only offered with natural voices; spacing matters; not a quality at all. Letter
    // case does not matter.
    TMP3Class plain(false);
    plain.SetQuality("64 kbps  22.05 KHz  Stereo");
    for (const std::string refused : {"24 kbps  16.00 KHz  Mono", "32 kbps 22.05 KHz Mono", ""}) {
        EXPECT_FALSE(plain.IsValidQuality(refused));
        try {
            plain.SetQuality(refused);
        } catch (const EAudioFileError& error) {
            EXPECT_EQ(error.what(), "Quality string \"" + refused + " is invalid");
        }
    }
    EXPECT_EQ(plain.Quality() + "|" + plain.Channels(), "64 kbps  22.05 KHz  Stereo|Stereo");
    plain.SetQuality("80 KBPS  22.05 khz  STEREO");
    EXPECT_EQ(plain.Quality() + "|" + plain.Channels(), "80 KBPS  22.05 khz  STEREO|Stereo");
}

// The rate, channels and pitch of a tone in a WAV file, checking that it lasts a second.
std::tuple<int, int, double> ReadTone(const std::string& path) {
    TWaveFileReader reader = TWaveFileReader::Open(path);
    EXPECT_NEAR(double(reader.Frames()) / reader.SampleRate(), 1.0, 0.001);
    std::vector<int16_t> samples(reader.Frames() * reader.BytesPerFrame() / 2);
    reader.ReadFrames(samples.data(), reader.Frames());
    return {reader.SampleRate(), reader.Channels(),
            ZeroCrossingFrequency(samples, reader.Channels(), reader.SampleRate())};
}

// Low-rate voices are raised for some qualities; a stereo quality then keeps the raised rate as
// its own. A 1 s 440 Hz source becomes the file the encoder gets, of the rate the encoder is
// told, with the source's length and pitch. Where Mp3Rate is given the file is also encoded:
// MPEG layer III frames and nothing else, at the quality's constant bit rate and channels (plain
// stereo, not joint), with the private bit set and no CRC, copyright or original flag, of the
// tone's length (so of its pitch), and the WAV file encoded is gone.
TEST(Mp3Writer, SourceIsBroughtToTheRateChosenByChannelsInputRateAndBitrateAndEncoded) {
    struct Case {
        const char* Quality;
        int SourceRate;
        int SourceChannels;
        bool Converted;  // false: the source is encoded as it is
        int Rate;        // of the file the encoder gets
        int QualityRate; // the quality's sample rate afterwards
        int Mp3Rate = 0; // the rate lame chooses for the bit rate and the rate it is given
    };
    const Case cases[] = {
        {"16 kbps  11.02 KHz  Mono", 8000, 1, true, 16000, 11025, 16000},
        {"16 kbps  11.02 KHz  Mono", 16000, 1, false, 16000, 11025},
        {"32 kbps  22.05 KHz  Mono", 8000, 1, true, 32000, 22050},
        {"56 kbps  44.1 KHz   Mono", 16000, 1, true, 48000, 44100},
        {"16 kbps  11.02 KHz  Mono", 22050, 1, true, 16000, 11025},
        {"64 kbps  22.05 KHz  Stereo", 16000, 1, true, 32000, 32000, 24000},
        {"112 kbps  44.1 KHz  Stereo", 16000, 1, true, 48000, 48000},
        // Every other combination keeps the quality's rate.
        {"32 kbps  22.05 KHz  Mono", 22050, 1, false, 22050, 22050, 22050},
        {"32 kbps  22.05 KHz  Mono", 11025, 1, true, 22050, 22050},
        {"40 kbps  22.05 KHz  Mono", 16000, 1, true, 22050, 22050},
        {"64 kbps  44.1 KHz   Mono", 8000, 1, true, 44100, 44100},
        {"16 kbps  11.02 KHz  Mono", 44100, 1, true, 11025, 11025},
        {"80 kbps  22.05 KHz  Stereo", 16000, 1, true, 22050, 22050},
        {"128 kbps  44.1 KHz  Stereo", 16000, 1, true, 44100, 44100, 44100},
        // A stereo quality always needs the intermediate file, even at the same rate.
        {"64 kbps  22.05 KHz  Stereo", 22050, 1, true, 22050, 22050},
        // Engines write mono, but a stereo source is never given to a mono encoder as it is.
        {"32 kbps  22.05 KHz  Mono", 22050, 2, true, 22050, 22050},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Quality) + " from " + std::to_string(c.SourceRate) + " Hz, " +
                     std::to_string(c.SourceChannels) + " channels");
        TempDir dir;
        const std::string source = dir.File("engine.wav"), target = dir.File("$$$engine.wav");
        MakeToneWav(source, c.SourceRate, c.SourceChannels, 1.0);
        TMP3Class writer(true);
        writer.SetQuality(c.Quality);
        EXPECT_EQ(writer.ConvertWaveFile(source, target), c.Converted);
        EXPECT_EQ(fs::exists(target), c.Converted);
        EXPECT_TRUE(fs::exists(source)) << "the caller deletes the source";
        const std::string encoded = c.Converted ? target : source;
        const auto [rate, channels, pitch] = ReadTone(encoded);
        EXPECT_EQ(std::vector<int>({writer.EncodeRate(), writer.SampleRate(), rate, channels}),
                  std::vector<int>({c.Rate, c.QualityRate, c.Rate, writer.ChannelCount()}));
        EXPECT_NEAR(pitch, 440.0, 3.0);
        if (c.Mp3Rate == 0)
            continue;

        ASSERT_TRUE(writer.ConvertFormat(encoded, dir.File("report.mp3")));
        EXPECT_FALSE(fs::exists(encoded));
        const Mp3Info info = ReadMp3Info(dir.File("report.mp3"));
        EXPECT_EQ(std::vector<int64_t>({info.SampleRate, info.ChannelMode, info.Bitrate,
                                        info.LeadingBytes, info.UnparsedBytes}),
                  std::vector<int64_t>({c.Mp3Rate, channels == 2 ? 0 : 3, writer.Bitrate(), 0,
                                        0})); // mode 0 stereo, 3 mono
        EXPECT_TRUE(info.ConstantBitrate && info.Consistent && info.PrivateBit);
        EXPECT_FALSE(info.Crc || info.Copyright || info.Original);
        // lame adds its encoder delay and pads the last frame: a few frames at most.
        EXPECT_TRUE(info.Duration() >= 1.0 && info.Duration() <= 1.15) << info.Duration();
    }
}

TEST(Mp3Writer, EncodingFailuresAreShownAndKeepTheAudio) {
    struct Case {
        std::string WavBytes; // empty: no WAV file at all
        std::string Mp3Name;
        std::string Shown; // "<wav>" stands for the WAV file's path, "<mp3>" for the MP3's
    };
    const std::string tone = WavBytes(22050, 1, ToneSamples(22050, 1, 0.5));
    const Case cases[] = {
        {"", "report.mp3", "Unable to open <wav>: No such file or directory"},
        {tone, "missing/report.mp3", "The folder of <mp3> does not exist"},
        {"RIFF", "report.mp3", "Read Error reading wav header"},
        {"just some text, not a recording", "report.mp3", "Read Error reading wav header"},
        {RiffWave(Chunk("fmt ", PcmFormatBody(22050, 1, 8)) + Chunk("data", "\x80")), "report.mp3",
         "<wav> is not 16-bit PCM audio (format 1, 8 bits per sample)"},
        // No engine records at 2 Hz, but lame's refusal to finish such a stream is real.
        {WavBytes(2, 1, {100, 100}), "report.mp3", "beExitStream failed -1"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string wav = dir.File("engine.wav");
        const std::string mp3 = dir.File(c.Mp3Name);
        std::string shownText = c.Shown;
        for (const auto& [key, value] : {std::pair{"<wav>", wav}, std::pair{"<mp3>", mp3}})
            if (const auto at = shownText.find(key); at != std::string::npos)
                shownText.replace(at, std::string_view(key).size(), value);
        SCOPED_TRACE(shownText);
        if (!c.WavBytes.empty())
            WriteBytes(wav, c.WavBytes);
        dir.Write("report.mp3", "an older report");
        std::vector<std::string> shown;
        const MessageHookFn previous =
            SetMessageHook([&](const std::string& text) { shown.push_back(text); });
        EXPECT_FALSE(TMP3Class(false).ConvertFormat(wav, mp3));
        SetMessageHook(previous);
        EXPECT_EQ(shown, std::vector<std::string>{shownText});
        EXPECT_EQ(fs::exists(wav), !c.WavBytes.empty());
        EXPECT_EQ(dir.Read("report.mp3"), "an older report");
    }
}

} // namespace
} // namespace olv::test
