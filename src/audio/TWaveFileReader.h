#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace olv {

// Reads a RIFF WAVE file: the canonical 44-byte layout that engines write, and also files with
// other chunks (LIST, fact, ...) before or after the audio. Samples are delivered as 16-bit PCM,
// the only sample format the engines produce; other formats are reported, not guessed at.
class TWaveFileReader {
public:
    // Opens the file; throws EAudioFileError ("Unable to open <path>: <reason>").
    explicit TWaveFileReader(const std::string& path);

    // Opens, reads the header and checks for 16-bit PCM in one step.
    static TWaveFileReader Open(const std::string& path);

    // Reads the chunks up to the start of the audio; throws EAudioFileError when the file is
    // not a WAVE file or has no format or data chunk.
    void ReadHeader();
    // Throws EAudioFileError unless the audio is 16-bit PCM with one or two channels.
    void CheckPcm16() const;

    int SampleRate() const { return sampleRate_; }
    int Channels() const { return channels_; }
    int BitsPerSample() const { return bitsPerSample_; }
    // Whole frames of audio; a data size beyond the end of the file (a stream that was never
    // finished) is cut to what the file holds.
    uint64_t Frames() const { return frames_; }
    uint64_t DataBytes() const { return frames_ * BytesPerFrame(); }
    uint64_t FramesLeft() const { return frames_ - framesRead_; }
    size_t BytesPerFrame() const { return static_cast<size_t>(channels_) * 2; }

    // Reads up to maxFrames interleaved frames; returns how many, 0 at the end of the audio.
    // Throws EAudioFileError on a read error.
    size_t ReadFrames(int16_t* samples, size_t maxFrames);

    const std::string& Path() const { return path_; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void ReadExactly(void* data, size_t size, const char* what);
    void Skip(uint64_t size);
    void ReadFormatChunk(uint32_t size);
    [[noreturn]] void Fail(const std::string& reason) const;

    std::string path_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    uint64_t fileSize_ = 0;
    int formatTag_ = 0;
    int channels_ = 0;
    int sampleRate_ = 0;
    int bitsPerSample_ = 0;
    int blockAlign_ = 0;
    uint64_t frames_ = 0;
    uint64_t framesRead_ = 0;
};

} // namespace olv
