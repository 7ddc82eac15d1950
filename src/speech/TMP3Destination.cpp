#include "speech/TMP3Destination.h"

#include "speech/TMP3Encoding.h"

namespace olv {

TMP3Destination::TMP3Destination(std::shared_ptr<TMP3Encoding> encoding)
    : encoding_(std::move(encoding)) {}

std::string TMP3Destination::Open(int, const PcmFormat& format) {
    if (format.Channels != 1)
        return "MP3 output takes mono speech only";
    std::string why = encoding_->Open(format.SampleRate);
    open_ = why.empty();
    return why;
}

void TMP3Destination::Write(const int16_t* samples, size_t frames) {
    encoding_->Add(samples, frames);
}

void TMP3Destination::Pause() {
    encoding_->SetPaused(true);
}

void TMP3Destination::Resume() {
    encoding_->SetPaused(false);
}

void TMP3Destination::Reset() {
    encoding_->Drop();
    encoding_->SetPaused(false);
}

int64_t TMP3Destination::PlayedUSecs() const {
    const int rate = encoding_->InputRate();
    if (rate <= 0)
        return 0;
    return static_cast<int64_t>(encoding_->EncodedFrames() * 1000000 / static_cast<uint64_t>(rate));
}

size_t TMP3Destination::PendingFrames() const {
    return static_cast<size_t>(encoding_->QueuedFrames());
}

AudioOutput::State TMP3Destination::CurrentState() const {
    if (!open_)
        return State::Stopped;
    if (encoding_->Paused())
        return State::Suspended;
    return PendingFrames() > 0 ? State::Active : State::Idle;
}

std::string TMP3Destination::Failure() const {
    return encoding_->Failure();
}

} // namespace olv
