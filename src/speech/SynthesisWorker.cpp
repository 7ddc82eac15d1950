#include "speech/SynthesisWorker.h"

#include "audio/EAudioFileError.h"
#include "audio/TWaveFileWriter.h"
#include "speech/ESpeechError.h"
#include "speech/SpeechText.h"
#include "speech/WordFilter.h"
#include "util/Log.h"

#include <algorithm>
#include <chrono>

namespace olv {
namespace {
constexpr int kBacklogSeconds = 30;
constexpr int kSilenceStepMs = 100;
} // namespace

// Receives one job's audio and words from the engine. It never throws: the engines call it
// from inside their C libraries; a failure is kept and stops the job instead.
class SynthesisWorker::JobSink final : public SynthesisSink {
public:
    JobSink(SynthesisWorker& worker, std::string_view text, uint64_t generation)
        : worker_(worker), words_(text), generation_(generation) {}

    void BeginPiece(size_t textStart) {
        std::lock_guard lock(worker_.mutex_);
        pieceStart_ = textStart;
        pieceFrame_ = worker_.frames_;
    }

    void Audio(const int16_t* samples, size_t frames) override {
        if (failure_ != 0 || Cancelled())
            return;
        try {
            if (worker_.file_ != nullptr) {
                worker_.file_->WriteFrames(samples, frames);
                std::lock_guard lock(worker_.mutex_);
                worker_.frames_ += frames;
                return;
            }
            SpeechEvent event(SpeechEvent::Kind::Audio);
            event.Samples.assign(samples, samples + frames);
            std::lock_guard lock(worker_.mutex_);
            if (worker_.generation_ != generation_)
                return;
            event.Frame = worker_.frames_;
            worker_.frames_ += frames;
            worker_.queuedFrames_ += frames;
            worker_.events_.push_back(std::move(event));
        } catch (const EAudioFileError& error) {
            // The file's own words: a full disk, a pipe nobody reads, the WAV size limit.
            Fail(ESpeechError::kOutOfDisk, error.what(), error.what());
        } catch (const std::exception& error) {
            Fail(ESpeechError::kOutOfMemory, error.what());
        }
    }

    void Word(uint64_t frame, size_t position) override {
        auto start = words_.Accept(pieceStart_ + position);
        if (!start || failure_ != 0)
            return;
        SpeechEvent event(SpeechEvent::Kind::Word);
        event.Frame = pieceFrame_ + frame;
        event.ByteOffset = static_cast<uint32_t>(*start * 2);
        try {
            worker_.Push(std::move(event), generation_);
        } catch (const std::exception& error) {
            Fail(ESpeechError::kOutOfMemory, error.what());
        }
    }

    bool Cancelled() const override { return failure_ != 0 || !worker_.IsCurrent(generation_); }

    void WaitForRoom() override {
        if (worker_.file_ == nullptr)
            worker_.WaitForRoom(generation_);
    }

    uint32_t Failure() const { return failure_; }
    const std::string& FailureText() const { return failureText_; }

private:
    void Fail(uint32_t code, const char* why, const char* forUser = "") noexcept {
        failure_ = code;
        try {
            failureText_ = forUser;
            Log(std::string("Speech output failed: ") + why);
        } catch (...) { // out of memory: the code still tells
        }
    }

    SynthesisWorker& worker_;
    WordFilter words_;
    uint64_t generation_;
    size_t pieceStart_ = 0;
    uint64_t pieceFrame_ = 0;
    uint32_t failure_ = 0;
    std::string failureText_;
};

SynthesisWorker::SynthesisWorker(SpeechEngine& engine, EngineVoice voice,
                                 const SpeechAttributes& attributes, TWaveFileWriter* file)
    : engine_(engine), voice_(std::move(voice)), attributes_(attributes), file_(file),
      backlogLimit_(static_cast<uint64_t>(voice_.SampleRate) * kBacklogSeconds),
      thread_([this] { Run(); }) {}

SynthesisWorker::~SynthesisWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        ++generation_;
        jobs_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

void SynthesisWorker::Add(std::string text, bool tagged) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(Job{std::move(text), tagged});
    }
    wake_.notify_all();
}

void SynthesisWorker::Cancel() {
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        jobs_.clear();
        events_.clear();
        frames_ = 0;
        queuedFrames_ = 0;
        backlog_ = 0;
    }
    wake_.notify_all();
}

std::vector<SpeechEvent> SynthesisWorker::Take(uint64_t audioRoom) {
    std::vector<SpeechEvent> taken;
    {
        std::lock_guard lock(mutex_);
        uint64_t audio = 0;
        while (!events_.empty()) {
            const uint64_t frames = events_.front().Samples.size();
            if (frames > 0 && audio + frames > audioRoom && (audio > 0 || audioRoom == 0))
                break;
            audio += frames;
            taken.push_back(std::move(events_.front()));
            events_.pop_front();
        }
        queuedFrames_ -= std::min(queuedFrames_, audio);
    }
    wake_.notify_all();
    return taken;
}

bool SynthesisWorker::Idle() const {
    std::lock_guard lock(mutex_);
    return !busy_ && jobs_.empty() && events_.empty();
}

void SynthesisWorker::SetBacklog(uint64_t frames) {
    {
        std::lock_guard lock(mutex_);
        backlog_ = frames;
    }
    wake_.notify_all();
}

bool SynthesisWorker::IsCurrent(uint64_t generation) const {
    std::lock_guard lock(mutex_);
    return generation == generation_ && !stopping_;
}

bool SynthesisWorker::Push(SpeechEvent event, uint64_t generation) {
    std::lock_guard lock(mutex_);
    if (generation != generation_)
        return false;
    if (event.What != SpeechEvent::Kind::Word)
        event.Frame = frames_;
    events_.push_back(std::move(event));
    return true;
}

void SynthesisWorker::WaitForRoom(uint64_t generation) {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [&] {
        return generation != generation_ || stopping_ || queuedFrames_ + backlog_ <= backlogLimit_;
    });
}

void SynthesisWorker::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
        if (stopping_)
            return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        uint64_t generation = generation_;
        busy_ = true;
        lock.unlock();
        RunJob(job, generation);
        lock.lock();
        busy_ = false;
    }
}

void SynthesisWorker::RunJob(const Job& job, uint64_t generation) {
    Push(SpeechEvent{SpeechEvent::Kind::TextStarted}, generation);
    JobSink sink(*this, job.Text, generation);
    uint32_t failure = 0;
    const std::vector<TextPiece> pieces = SpeechText::Split(job.Text, job.Tagged);
    for (const TextPiece& piece : pieces) {
        sink.WaitForRoom();
        if (sink.Cancelled())
            break;
        sink.BeginPiece(piece.Start);
        try {
            if (piece.Text.empty()) {
                const size_t step = static_cast<size_t>(voice_.SampleRate) * kSilenceStepMs / 1000;
                const std::vector<int16_t> silence(step, 0);
                size_t left = static_cast<size_t>(voice_.SampleRate) * piece.PauseMs / 1000;
                for (; left > 0 && !sink.Cancelled(); left -= std::min(left, step)) {
                    sink.Audio(silence.data(), std::min(left, step));
                    sink.WaitForRoom();
                }
            } else {
                SynthParams params = attributes_.Snapshot();
                params.EndPause = &piece != &pieces.back();
                engine_.Synthesize(voice_, piece.Text, params, sink);
            }
        } catch (const ESpeechError& error) {
            Log(std::string("Speech engine failed: ") + error.what());
            failure = error.Code();
            break;
        }
    }
    SpeechEvent failed{SpeechEvent::Kind::Failed};
    failed.Code = failure;
    if (failure == 0) {
        failed.Code = sink.Failure();
        failed.Message = sink.FailureText();
    }
    if (failed.Code != 0)
        Push(std::move(failed), generation);
    Push(SpeechEvent{SpeechEvent::Kind::TextDone}, generation);
}

} // namespace olv
