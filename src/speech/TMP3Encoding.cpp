#include "speech/TMP3Encoding.h"

#include "audio/EAudioFileError.h"
#include "audio/TMP3Class.h"
#include "util/Log.h"

#include <exception>

namespace olv {

TMP3Encoding::TMP3Encoding(TMP3Class& writer, std::string mp3File)
    : writer_(writer), path_(std::move(mp3File)) {}

TMP3Encoding::~TMP3Encoding() {
    StopThread();
}

std::string TMP3Encoding::Open(int inputRate) {
    if (stream_)
        return "The MP3 file " + path_ + " is already being written";
    try {
        stream_ = writer_.OpenStream(path_, inputRate, 1);
    } catch (const std::exception& error) {
        Fail(error.what());
        return error.what();
    }
    inputRate_ = inputRate;
    thread_ = std::thread([this] { Run(); });
    return {};
}

void TMP3Encoding::Add(const int16_t* samples, size_t frames) {
    if (frames == 0)
        return;
    {
        std::lock_guard lock(mutex_);
        if (!failure_.empty() || inputEnded_)
            return;
        queue_.emplace_back(samples, samples + frames);
        added_ += frames;
    }
    wake_.notify_all();
}

void TMP3Encoding::Drop() {
    std::lock_guard lock(mutex_);
    queue_.clear();
    added_ = encoded_ = 0;
    ++generation_;
}

void TMP3Encoding::SetPaused(bool paused) {
    {
        std::lock_guard lock(mutex_);
        paused_ = paused;
    }
    wake_.notify_all();
}

uint64_t TMP3Encoding::AddedFrames() const {
    std::lock_guard lock(mutex_);
    return added_;
}

uint64_t TMP3Encoding::EncodedFrames() const {
    std::lock_guard lock(mutex_);
    return encoded_;
}

uint64_t TMP3Encoding::QueuedFrames() const {
    std::lock_guard lock(mutex_);
    return added_ - encoded_;
}

bool TMP3Encoding::Paused() const {
    std::lock_guard lock(mutex_);
    return paused_;
}

std::string TMP3Encoding::Failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

void TMP3Encoding::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || (!paused_ && !queue_.empty()) || inputEnded_; });
        if (stopping_ || queue_.empty())
            return;
        std::vector<int16_t> chunk = std::move(queue_.front());
        queue_.pop_front();
        const uint64_t generation = generation_;
        lock.unlock();
        try {
            stream_->Write(chunk.data(), chunk.size());
        } catch (const std::exception& error) {
            lock.lock();
            failure_ = error.what();
            Log("MP3 encoding failed: " + failure_);
            return;
        }
        lock.lock();
        if (generation == generation_)
            encoded_ += chunk.size();
    }
}

void TMP3Encoding::Fail(const std::string& why) {
    std::lock_guard lock(mutex_);
    failure_ = why;
    Log("MP3 encoding failed: " + why);
}

void TMP3Encoding::StopThread() {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void TMP3Encoding::Finish() {
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            inputEnded_ = true;
            paused_ = false;
        }
        wake_.notify_all();
        thread_.join();
    }
    const std::string failure = Failure();
    if (!failure.empty())
        throw EAudioFileError(failure);
    if (!stream_)
        throw EAudioFileError("The MP3 file " + path_ + " was never opened");
    stream_->Finish();
}

} // namespace olv
