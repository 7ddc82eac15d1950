#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace olv {

class TMP3Class;
class TMP3Stream;

// Encodes speech into an MP3 file while it is being synthesised, so that rendering a report to
// MP3 costs little more than encoding it, and a long text is never held in memory or on disk
// as a WAV file first.
//
// The main thread hands over the PCM (Add) and never waits; a thread of its own converts and
// encodes it at the MP3 writer's quality. The counts tell how far it has got, so that the
// speech component can hold synthesis back while the encoder is far behind. The file appears
// under its name only when Finish succeeds; destroying the encoding before that leaves nothing.
class TMP3Encoding {
public:
    // The writer's quality at the time of Open decides the MP3's rate, channels and bit rate.
    TMP3Encoding(TMP3Class& writer, std::string mp3File);
    TMP3Encoding(const TMP3Encoding&) = delete;
    TMP3Encoding& operator=(const TMP3Encoding&) = delete;
    ~TMP3Encoding();

    // Starts an encoding of mono PCM at inputRate. Returns an empty text, or why it failed.
    std::string Open(int inputRate);
    // Queues mono frames. Ignored after a failure.
    void Add(const int16_t* samples, size_t frames);
    // Drops what is queued and starts the counts again from 0 (what is encoded stays).
    void Drop();
    void SetPaused(bool paused);

    int InputRate() const { return inputRate_; }
    // Frames added and frames encoded since Open or the last Drop.
    uint64_t AddedFrames() const;
    uint64_t EncodedFrames() const;
    // Frames added but not yet encoded.
    uint64_t QueuedFrames() const;
    bool Paused() const;
    // Why encoding failed (the user's message), or an empty text.
    std::string Failure() const;

    // Encodes what is queued, ends the stream and puts the file in place. Throws
    // EAudioFileError with the failure.
    void Finish();
    const std::string& Path() const { return path_; }

private:
    void Run();
    void Fail(const std::string& why);
    void StopThread();

    TMP3Class& writer_;
    std::string path_;
    int inputRate_ = 0;
    std::unique_ptr<TMP3Stream> stream_;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::vector<int16_t>> queue_;
    uint64_t added_ = 0;
    uint64_t encoded_ = 0;
    uint64_t generation_ = 0; // counts drops: a chunk taken before a drop is not counted
    bool paused_ = false;
    bool inputEnded_ = false;
    bool stopping_ = false;
    std::string failure_;
};

} // namespace olv
