#pragma once

#include "speech/SpeechAttributes.h"
#include "speech/SpeechEngine.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace olv {

class TWaveFileWriter;

// What the synthesis thread hands to the main thread, in order. Frames count the audio made
// since the worker started or was last cancelled.
struct SpeechEvent {
    enum class Kind { TextStarted, Word, Audio, TextDone, Failed };
    explicit SpeechEvent(Kind what) : What(what) {}

    Kind What;
    uint64_t Frame = 0;
    uint32_t ByteOffset = 0;      // Word: twice the position of the word in the text
    std::vector<int16_t> Samples; // Audio
    uint32_t Code = 0;            // Failed: the ESpeechError code
    std::string Message;          // Failed: what to tell the user, when more than the code says
};

// Synthesises the texts given to it, one after another, on a thread of its own, so that no
// synthesis step holds up the main thread. With a file, it writes the audio there itself (at
// the engine's speed); otherwise the audio travels with the events, and the worker waits
// while the listener is more than a limit behind (see SetBacklog).
class SynthesisWorker {
public:
    SynthesisWorker(SpeechEngine& engine, EngineVoice voice, const SpeechAttributes& attributes,
                    TWaveFileWriter* file);
    SynthesisWorker(const SynthesisWorker&) = delete;
    SynthesisWorker& operator=(const SynthesisWorker&) = delete;
    ~SynthesisWorker();

    void Add(std::string text, bool tagged);
    // Stops the text in progress and drops the waiting ones and every event not yet taken.
    void Cancel();
    // The events made so far, in order, up to audioRoom frames of audio: the rest waits for
    // a later call, so that a long text made far ahead is handed on as it is played. When there
    // is any room, the first audio event is taken whatever its size.
    std::vector<SpeechEvent> Take(uint64_t audioRoom = UINT64_MAX);
    // No text in progress or waiting, and no event left to take.
    bool Idle() const;
    // Frames handed on but not yet played; the worker pauses while there are too many.
    void SetBacklog(uint64_t frames);
    int SampleRate() const { return voice_.SampleRate; }

private:
    class JobSink;
    struct Job {
        std::string Text;
        bool Tagged = false;
    };

    void Run();
    void RunJob(const Job& job, uint64_t generation);
    // Queues an event unless the job it belongs to was cancelled meanwhile.
    bool Push(SpeechEvent event, uint64_t generation);
    bool IsCurrent(uint64_t generation) const;
    void WaitForRoom(uint64_t generation);

    SpeechEngine& engine_;
    const EngineVoice voice_;
    const SpeechAttributes& attributes_;
    TWaveFileWriter* file_;
    const uint64_t backlogLimit_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    std::deque<SpeechEvent> events_;
    bool busy_ = false;
    bool stopping_ = false;
    uint64_t generation_ = 0;
    uint64_t frames_ = 0;       // made since the last cancel
    uint64_t queuedFrames_ = 0; // in events not yet taken
    uint64_t backlog_ = 0;
    std::thread thread_;
};

} // namespace olv
