#pragma once

#include "platform/AudioOutput.h"
#include "platform/qt/PcmSource.h"

#include <QAudioSink>
#include <memory>

namespace olv {

// Audio output to a sound device through QAudioSink in pull mode: written PCM waits in a
// queue that the sink reads from. Lives and is used on the main thread.
class QtAudioOutput final : public AudioOutput {
public:
    QtAudioOutput() = default;
    QtAudioOutput(const QtAudioOutput&) = delete;
    QtAudioOutput& operator=(const QtAudioOutput&) = delete;
    ~QtAudioOutput() override;

    std::string Open(int device, const PcmFormat& format) override;
    void Write(const int16_t* samples, size_t frames) override;
    void Pause() override;
    void Resume() override;
    void Reset() override;
    void Close() override;

    int64_t PlayedUSecs() const override;
    size_t PendingFrames() const override;
    State CurrentState() const override;
    std::string Failure() const override { return failure_; }

    // How many sound streams this program has opened so far.
    static int StreamsOpened();

private:
    std::string Start();
    void OnStateChanged(QAudio::State state);

    std::unique_ptr<QAudioSink> sink_;
    PcmSource source_;
    size_t bytesPerFrame_ = 2;
    bool stopping_ = false;
    std::string failure_;
};

} // namespace olv
