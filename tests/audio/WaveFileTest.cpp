// WAV files written and read, and where a recording may be written: files, links, pipes and
// devices, never replacing what is not a regular file, with messages that say what went wrong.

#include "audio/EAudioFileError.h"
#include "audio/TWaveFileReader.h"
#include "audio/TWaveFileWriter.h"
#include "support/TempDir.h"
#include "support/audio/ToneWav.h"

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace olv::test {
namespace {

namespace fs = std::filesystem;

const std::vector<int16_t> kStereo = {1, -1, 2, -2, 32767, -32768};

// What a recording does to each kind of path: the error expected ("" for none; <path> stands
// for the path) and what must hold afterwards. A cap of 12 bytes of audio stands in for the
// 4 GB limit; every case writes 16. (Folders and devices: ReportToolTest.)
TEST(WaveFile, RecordingsGoWhereTheyMayAndNeverReplaceWhatIsNotAFile) {
    TempDir dir;
    const std::string older = "an older report",
                      whole = WavBytes(22050, 2, {1, -1, 2, -2, 32767, -32768, 1, -1});
    int pipeEnd = -1; // the reading end of the pipe, open before the recording starts
    const auto link = [&](const char* target, const char* name) {
        fs::create_symlink(dir.File(target), dir.File(name));
        return dir.File(name);
    };
    struct Case {
        const char* Name;
        std::function<std::string()> Prepare; // returns the path
        uint64_t Cap;
        const char* Error;
        std::function<void(const std::string& path)> Check;
    };
    const Case cases[] = {
        {"an older file", [&] { return dir.Write("a.wav", older), dir.File("a.wav"); }, 99, "",
         [&](const std::string&) { EXPECT_EQ(dir.Read("a.wav"), whole); }},
        {"a link, which stays a link to the new file",
         [&] { return dir.Write("t.wav", older), link("t.wav", "link.wav"); }, 99, "",
         [&](const std::string& path) {
             EXPECT_TRUE(fs::is_symlink(path));
             EXPECT_EQ(dir.Read("t.wav"), whole);
         }},
        {"a pipe, written as a stream with its length left open",
         [&] {
             ::mkfifo(dir.File("pipe").c_str(), 0600);
             pipeEnd = ::open(dir.File("pipe").c_str(), O_RDONLY | O_NONBLOCK);
             return dir.File("pipe");
         },
         99, "",
         [&](const std::string& path) {
             EXPECT_TRUE(fs::is_fifo(path));
             char bytes[100];
             const ssize_t n = ::read(pipeEnd, bytes, sizeof bytes);
             ::close(pipeEnd);
             ASSERT_EQ(n, 44 + 16);
             EXPECT_EQ(std::string(bytes + 40, 4), std::string("\x00\xF0\xFF\x7F", 4));
             EXPECT_EQ(std::string(bytes + 44, 16), whole.substr(44));
         }},
        {"a pipe nobody reads",
         [&] { return ::mkfifo(dir.File("lonely").c_str(), 0600), dir.File("lonely"); }, 99,
         "No program reads from the pipe <path>",
         [](const std::string& path) { EXPECT_TRUE(fs::is_fifo(path)); }},
        {"a link that leads nowhere", [&] { return link("gone.wav", "dangling.wav"); }, 99,
         "<path> is a link to a file that does not exist",
         [](const std::string& path) { EXPECT_TRUE(fs::is_symlink(path)); }},
        {"audio past the limit, refused before it is written",
         [&] { return dir.Write("b.wav", older), dir.File("b.wav"); }, 12,
         TWaveFileWriter::kLimitText,
         [&](const std::string&) { EXPECT_EQ(dir.Read("b.wav"), older); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = c.Prepare();
        std::string error = c.Error, failure;
        if (const auto at = error.find("<path>"); at != std::string::npos)
            error.replace(at, 6, path);
        try {
            TWaveFileWriter writer(path, 22050, 2, c.Cap);
            writer.WriteFrames(kStereo.data(), 3);
            writer.WriteFrames(kStereo.data(), 1);
            writer.Finish();
        } catch (const EAudioFileError& thrown) {
            failure = thrown.what();
        }
        EXPECT_EQ(failure, error);
        if (c.Check)
            c.Check(path);
    }
    // An abandoned recording leaves the older file and no temporary file.
    TWaveFileWriter(dir.File("b.wav"), 8000, 1).WriteFrames(kStereo.data(), 6);
    EXPECT_EQ(dir.Read("b.wav"), older);
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".wav."), std::string::npos);
}

TEST(WaveFile, ReaderFindsTheAudioInOtherLayouts) {
    const std::string fmt = Chunk("fmt ", PcmFormatBody(22050, 2));
    const std::string audio = SampleBytes(kStereo);
    // A streaming writer (espeak-ng --stdout) leaves the data size open, as signed or unsigned.
    const auto openSize = [&](const char* size) {
        return RiffWave(fmt) + "data" + std::string(size, 4) + audio + "\x07";
    };
    const std::pair<const char*, std::string> layouts[] = {
        {"chunks before, between and after (odd sizes padded)",
         RiffWave(Chunk("JUNK", "abc") + fmt + Chunk("LIST", "INFOISFT\x05\0\0\0espeak") +
                  Chunk("fact", "\x03\0\0\0") + Chunk("data", audio) +
                  Chunk("LIST", std::string(1001, 'x')))},
        {"size left open", openSize("\xFF\xFF\xFF\x7F")},
        {"size left open, unsigned", openSize("\xFF\xFF\xFF\xFF")},
    };
    TempDir dir;
    for (const auto& [layout, bytes] : layouts) {
        SCOPED_TRACE(layout);
        WriteBytes(dir.File("in.wav"), bytes);
        TWaveFileReader reader = TWaveFileReader::Open(dir.File("in.wav"));
        EXPECT_EQ(reader.SampleRate(), 22050);
        EXPECT_EQ(reader.Channels(), 2);
        std::vector<int16_t> samples(kStereo.size() + 8);
        samples.resize(reader.ReadFrames(samples.data(), samples.size() / 2) * 2);
        EXPECT_EQ(samples, kStereo);
        EXPECT_EQ(reader.ReadFrames(samples.data(), 1), 0u); // it ends with the audio
    }
}

} // namespace
} // namespace olv::test
