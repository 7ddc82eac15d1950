#include "audio/TMP3Class.h"
#include "audio/TWaveFileReader.h"
#include "platform/MessageHook.h"
#include "platform/ProcessMessages.h"
#include "support/TempDir.h"
#include "support/audio/LameDecode.h"
#include "support/audio/Mp3Info.h"
#include "support/audio/ToneWav.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace olv {
namespace {

namespace fs = std::filesystem;

// Collects what would have been shown to the user.
class ShownMessages {
public:
    ShownMessages()
        : previous_(SetMessageHook([this](const std::string& text) { Texts.push_back(text); })) {}
    ~ShownMessages() { SetMessageHook(previous_); }
    std::vector<std::string> Texts;

private:
    MessageHookFn previous_;
};

// Counts the turns the user interface gets; a test may act in them as a Stop command would.
class MessagePump {
public:
    explicit MessagePump(std::function<void()> action = {})
        : previous_(SetProcessMessagesHook([this, action] {
              ++Turns;
              if (action)
                  action();
          })) {}
    ~MessagePump() { SetProcessMessagesHook(previous_); }
    int Turns = 0;

private:
    std::function<void()> previous_;
};

// The speech controller's steps for one MP3: prepare the engine's WAV, then encode.
bool MakeMp3(TMP3Class& writer, const test::TempDir& dir, const std::string& engineWav) {
    std::string source = dir.File(engineWav);
    const std::string intermediate = dir.File("$$$" + engineWav);
    if (writer.ConvertWaveFile(source, intermediate)) {
        fs::remove(source);
        source = intermediate;
    }
    return writer.ConvertFormat(source, dir.File("report.mp3"));
}

void ExpectDuration(const test::Mp3Info& info, double seconds) {
    // lame adds its encoder delay and pads the last frame: a few frames at most.
    EXPECT_GE(info.Duration(), seconds);
    EXPECT_LE(info.Duration(), seconds + 0.15);
}

void ExpectDecodesTo(const std::string& mp3, const test::TempDir& dir, double seconds,
                     int channels) {
    ASSERT_TRUE(test::LameDecode(mp3, dir.File("decoded.wav")));
    TWaveFileReader decoded = TWaveFileReader::Open(dir.File("decoded.wav"));
    EXPECT_EQ(decoded.Channels(), channels);
    EXPECT_NEAR(static_cast<double>(decoded.Frames()) / decoded.SampleRate(), seconds, 0.15);
    std::vector<int16_t> samples(decoded.Frames() * decoded.BytesPerFrame() / 2);
    decoded.ReadFrames(samples.data(), decoded.Frames());
    EXPECT_NEAR(test::ZeroCrossingFrequency(samples, channels, decoded.SampleRate()), 440.0, 10.0);
}

TEST(ConvertFormat, MonoQuality) {
    test::TempDir dir;
    ShownMessages shown;
    test::MakeToneWav(dir.File("engine.wav"), 22050, 1, 3.0);
    TMP3Class writer(false);
    ASSERT_TRUE(MakeMp3(writer, dir, "engine.wav"));

    const test::Mp3Info info = test::ReadMp3Info(dir.File("report.mp3"));
    EXPECT_EQ(info.Version, 20);
    EXPECT_EQ(info.Layer, 3);
    EXPECT_EQ(info.Bitrate, 32);
    EXPECT_TRUE(info.ConstantBitrate);
    EXPECT_EQ(info.SampleRate, 22050);
    EXPECT_EQ(info.Channels, 1);
    EXPECT_TRUE(info.PrivateBit);
    EXPECT_FALSE(info.Crc);
    EXPECT_FALSE(info.Copyright);
    EXPECT_FALSE(info.Original);
    EXPECT_TRUE(info.Consistent);
    EXPECT_EQ(info.UnparsedBytes, 0);
    ExpectDuration(info, 3.0);
    ExpectDecodesTo(dir.File("report.mp3"), dir, 3.0, 1);
    EXPECT_FALSE(fs::exists(dir.File("engine.wav")));
    EXPECT_TRUE(shown.Texts.empty());
}

TEST(ConvertFormat, QualitiesKeepLengthAndPitch) {
    struct Case {
        const char* Quality;
        int SourceRate;
    };
    for (const Case& c :
         {Case{"64 kbps  22.05 KHz  Stereo", 22050}, Case{"32 kbps  22.05 KHz  Mono", 16000},
          Case{"16 kbps  11.02 KHz  Mono", 8000}, Case{"64 kbps  22.05 KHz  Stereo", 16000},
          Case{"128 kbps  44.1 KHz  Stereo", 22050}, Case{"64 kbps  48.00 KHz  Mono", 16000}}) {
        SCOPED_TRACE(std::string(c.Quality) + " from " + std::to_string(c.SourceRate));
        test::TempDir dir;
        test::MakeToneWav(dir.File("engine.wav"), c.SourceRate, 1, 2.0);
        TMP3Class writer(true);
        writer.SetQuality(c.Quality);
        ASSERT_TRUE(MakeMp3(writer, dir, "engine.wav"));

        const test::Mp3Info info = test::ReadMp3Info(dir.File("report.mp3"));
        EXPECT_EQ(info.Channels, writer.ChannelCount());
        EXPECT_EQ(info.ChannelMode, writer.ChannelCount() == 2 ? 0 : 3)
            << "plain stereo, not joint";
        EXPECT_EQ(info.Bitrate, writer.Bitrate());
        EXPECT_TRUE(info.ConstantBitrate);
        ExpectDuration(info, 2.0);
        ExpectDecodesTo(dir.File("report.mp3"), dir, 2.0, writer.ChannelCount());
        EXPECT_FALSE(fs::exists(dir.File("engine.wav")));
        EXPECT_FALSE(fs::exists(dir.File("$$$engine.wav")));
    }
}

// 10 s at 22050 Hz is 383 chunks of 576 samples: the interface gets its turn at 101, 202, 303.
TEST(ConvertFormat, ProgressEveryHundredAndFirstChunk) {
    test::TempDir dir;
    test::MakeToneWav(dir.File("engine.wav"), 22050, 1, 10.0);
    TMP3Class writer(false);
    std::vector<std::pair<int64_t, int64_t>> progress;
    writer.OnProgress = [&](TAudioFileClass& sender, int64_t done, int64_t total) {
        EXPECT_EQ(&sender, &writer);
        progress.emplace_back(done, total);
    };
    MessagePump pump;
    ASSERT_TRUE(writer.ConvertFormat(dir.File("engine.wav"), dir.File("report.mp3")));
    const int64_t chunkBytes = 576 * 2;
    const std::vector<std::pair<int64_t, int64_t>> expected = {
        {101 * chunkBytes, 441000}, {202 * chunkBytes, 441000}, {303 * chunkBytes, 441000}};
    EXPECT_EQ(progress, expected);
    EXPECT_EQ(pump.Turns, 3);

    // Without a handler the interface still gets its turns, so that Stop can arrive.
    test::MakeToneWav(dir.File("engine.wav"), 22050, 1, 10.0);
    writer.OnProgress = nullptr;
    ASSERT_TRUE(writer.ConvertFormat(dir.File("engine.wav"), dir.File("report.mp3")));
    EXPECT_EQ(pump.Turns, 6);
}

TEST(ConvertFormat, StopDuringConversionKeepsWhatWasEncoded) {
    test::TempDir dir;
    test::MakeToneWav(dir.File("engine.wav"), 22050, 1, 10.0);
    TMP3Class writer(false);
    int progressEvents = 0;
    writer.OnProgress = [&](TAudioFileClass&, int64_t, int64_t) { ++progressEvents; };
    MessagePump pump([&] { writer.Abort(); });
    EXPECT_FALSE(writer.ConvertFormat(dir.File("engine.wav"), dir.File("report.mp3")));
    EXPECT_TRUE(writer.AbortRequested());
    EXPECT_EQ(progressEvents, 1);

    // The chunk in hand when Stop came is the last one: 102 chunks, a valid shorter MP3.
    const test::Mp3Info info = test::ReadMp3Info(dir.File("report.mp3"));
    ExpectDuration(info, 102 * 576 / 22050.0);
    EXPECT_EQ(info.UnparsedBytes, 0);
    EXPECT_FALSE(fs::exists(dir.File("engine.wav")));

    // The next conversion starts afresh.
    test::MakeToneWav(dir.File("engine.wav"), 22050, 1, 1.0);
    MessagePump quiet;
    EXPECT_TRUE(writer.ConvertFormat(dir.File("engine.wav"), dir.File("report.mp3")));
    EXPECT_FALSE(writer.AbortRequested());
}

struct FailureCase {
    std::string WavBytes; // empty: no WAV file at all
    std::string Mp3Name;
    std::string Shown; // "<wav>" stands for the WAV file's path, "<mp3>" for the MP3's
};

std::string Expand(std::string text, const std::string& wav, const std::string& mp3) {
    for (const auto& [key, value] :
         {std::pair{std::string("<wav>"), wav}, std::pair{std::string("<mp3>"), mp3}})
        if (const auto at = text.find(key); at != std::string::npos)
            text.replace(at, key.size(), value);
    return text;
}

TEST(ConvertFormat, FailuresAreShownAndKeepTheAudio) {
    const std::string tone = test::WavBytes(22050, 1, test::ToneSamples(22050, 1, 0.5));
    const FailureCase cases[] = {
        {"", "report.mp3", "Unable to open <wav>: No such file or directory"},
        {tone, "missing/report.mp3", "Unable to create <mp3>: No such file or directory"},
        {"RIFF", "report.mp3", "Read Error reading wav header"},
        {"just some text, not a recording", "report.mp3", "Read Error reading wav header"},
        {test::RiffWave(test::Chunk("fmt ", test::PcmFormatBody(22050, 1, 8)) +
                        test::Chunk("data", "\x80")),
         "report.mp3", "<wav> is not 16-bit PCM audio (format 1, 8 bits per sample)"},
        // No engine records at 2 Hz, but lame's refusal to finish such a stream is real.
        {test::WavBytes(2, 1, {100, 100}), "report.mp3", "beExitStream failed -1"},
    };
    for (const FailureCase& c : cases) {
        test::TempDir dir;
        const std::string wav = dir.File("engine.wav");
        const std::string mp3 = dir.File(c.Mp3Name);
        SCOPED_TRACE(c.Shown);
        if (!c.WavBytes.empty())
            test::WriteBytes(wav, c.WavBytes);
        dir.Write("report.mp3", "an older report");
        ShownMessages shown;
        TMP3Class writer(false);
        EXPECT_FALSE(writer.ConvertFormat(wav, mp3));
        EXPECT_EQ(shown.Texts, std::vector<std::string>{Expand(c.Shown, wav, mp3)});
        EXPECT_EQ(fs::exists(wav), !c.WavBytes.empty());
        EXPECT_EQ(dir.Read("report.mp3"), "an older report");
    }
}

// A file-size limit makes writes fail for real, like a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int);
};

TEST(ConvertFormat, WriteFailuresLeaveTheOlderFileAndTheAudio) {
    // 30 s at 32 kbps is about 120 KB of MP3: the first 64 KB block already fails to go out.
    // 8 s is about 32 KB, all written at the end.
    for (const auto& [seconds, text] :
         {std::pair{30.0, "Write Error (1)"}, std::pair{8.0, "Write error (2)"}}) {
        SCOPED_TRACE(text);
        test::TempDir dir;
        test::MakeToneWav(dir.File("engine.wav"), 22050, 1, seconds);
        dir.Write("report.mp3", "an older report");
        ShownMessages shown;
        TMP3Class writer(false);
        {
            FileSizeLimit limit(20000);
            EXPECT_FALSE(writer.ConvertFormat(dir.File("engine.wav"), dir.File("report.mp3")));
        }
        EXPECT_EQ(shown.Texts, std::vector<std::string>{text});
        EXPECT_EQ(dir.Read("report.mp3"), "an older report");
        EXPECT_TRUE(fs::exists(dir.File("engine.wav")));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 2)
            << "a temporary file was left";
    }
}

} // namespace
} // namespace olv
