#pragma once

#include "audio/TAtomicFileWriter.h"
#include "audio/TLameEncoder.h"
#include "audio/TPcmConverter.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace olv {

// Encodes PCM into an MP3 file as it arrives, so that speech can be encoded while it is being
// synthesised and a long text is never held in memory. The input is brought to the encoder's
// rate and channels on the way. The file appears under its name only when Finish succeeds;
// destroying the stream before that discards it.
//
// With background set, conversion, encoding and writing run on a worker thread: Write only
// copies the samples (waiting when the worker is far behind), so that synthesis and encoding
// overlap. Failures of the worker surface from the next Write or from Finish.
class TMP3Stream {
public:
    // Throws EAudioFileError when the file cannot be created or the encoder refuses the
    // configuration ("Error opening encoding stream <code>").
    TMP3Stream(const std::string& mp3File, int inputRate, int inputChannels,
               const TLameConfig& config, bool background);
    TMP3Stream(const TMP3Stream&) = delete;
    TMP3Stream& operator=(const TMP3Stream&) = delete;
    ~TMP3Stream();

    // Takes interleaved 16-bit frames at the input rate and channels. Throws EAudioFileError.
    void Write(const int16_t* samples, size_t frames);
    // Encodes the rest, ends the stream and puts the file in place. Throws EAudioFileError.
    void Finish();

    const std::string& Path() const { return file_.Path(); }

private:
    void Encode(const int16_t* samples, size_t frames);
    void EncodeBlock(const TPcmBlock& block);
    void Store(const std::vector<unsigned char>& bytes);
    void WorkerLoop();
    void StopWorker();

    TPcmConverter converter_;
    TAtomicFileWriter file_;
    TLameEncoder encoder_;
    int outputChannels_;
    std::vector<unsigned char> encoded_;
    bool finished_ = false;

    // Background encoding: chunks waiting for the worker, and how it ended.
    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<int16_t>> queue_;
    size_t queuedSamples_ = 0;
    bool inputEnded_ = false;
    bool cancelled_ = false;
    std::exception_ptr failure_;
};

} // namespace olv
