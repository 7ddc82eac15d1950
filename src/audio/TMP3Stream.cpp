#include "audio/TMP3Stream.h"

#include "audio/EAudioFileError.h"

namespace olv {
namespace {

// How far the worker may fall behind before Write waits: about 45 s of 22 kHz mono.
constexpr size_t kMaxQueuedSamples = 1 << 20;

} // namespace

TMP3Stream::TMP3Stream(const std::string& mp3File, int inputRate, int inputChannels,
                       const TLameConfig& config, bool background)
    : converter_(inputRate, inputChannels, config.SampleRate, config.Channels), file_(mp3File),
      outputChannels_(config.Channels) {
    if (const int code = encoder_.InitStream(config))
        throw EAudioFileError("Error opening encoding stream " + std::to_string(code));
    if (background)
        worker_ = std::thread([this] { WorkerLoop(); });
}

TMP3Stream::~TMP3Stream() {
    StopWorker();
}

void TMP3Stream::StopWorker() {
    if (!worker_.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void TMP3Stream::Write(const int16_t* samples, size_t frames) {
    if (finished_)
        throw EAudioFileError("The MP3 file " + Path() + " is already complete");
    if (!worker_.joinable()) {
        Encode(samples, frames);
        return;
    }
    const size_t count = frames * static_cast<size_t>(converter_.InputChannels());
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queuedSamples_ < kMaxQueuedSamples || failure_; });
    if (failure_)
        std::rethrow_exception(failure_);
    queue_.emplace_back(samples, samples + count);
    queuedSamples_ += count;
    lock.unlock();
    changed_.notify_all();
}

void TMP3Stream::WorkerLoop() {
    for (;;) {
        std::vector<int16_t> chunk;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return cancelled_ || inputEnded_ || !queue_.empty(); });
            if (cancelled_ || queue_.empty())
                return;
            chunk = std::move(queue_.front());
            queue_.pop_front();
            queuedSamples_ -= chunk.size();
        }
        changed_.notify_all();
        try {
            Encode(chunk.data(), chunk.size() / static_cast<size_t>(converter_.InputChannels()));
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex_);
            failure_ = std::current_exception();
            changed_.notify_all();
            return;
        }
    }
}

void TMP3Stream::Encode(const int16_t* samples, size_t frames) {
    EncodeBlock(converter_.Convert(samples, frames));
}

void TMP3Stream::EncodeBlock(const TPcmBlock& block) {
    const size_t count = block.Frames * static_cast<size_t>(outputChannels_);
    if (const int code = encoder_.EncodeChunk(block.Samples, count, encoded_))
        throw EAudioFileError("beEncodeChunk failed " + std::to_string(code));
    Store(encoded_);
}

void TMP3Stream::Store(const std::vector<unsigned char>& bytes) {
    file_.Write(bytes.data(), bytes.size());
}

void TMP3Stream::Finish() {
    if (finished_)
        return;
    if (worker_.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            inputEnded_ = true;
        }
        changed_.notify_all();
        worker_.join();
        if (failure_)
            std::rethrow_exception(failure_);
    }
    EncodeBlock(converter_.Flush());
    if (const int code = encoder_.DeinitStream(encoded_))
        throw EAudioFileError("beExitStream failed " + std::to_string(code));
    Store(encoded_);
    file_.Commit();
    finished_ = true;
}

} // namespace olv
