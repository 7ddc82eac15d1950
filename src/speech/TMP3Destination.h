#pragma once

#include "platform/AudioOutput.h"

#include <memory>

namespace olv {

class TMP3Encoding;

// The speech component's destination for MP3 output: it "plays" into an MP3 encoding. The
// encoder is the listener, so the position is what it has encoded; the speech component holds
// synthesis back while the encoder is far behind, and sees the audio end once all of it is
// encoded. The encoding outlives the destination: the speech controller finishes it (or drops
// it) after the component has closed.
class TMP3Destination final : public AudioOutput {
public:
    explicit TMP3Destination(std::shared_ptr<TMP3Encoding> encoding);

    std::string Open(int device, const PcmFormat& format) override;
    void Write(const int16_t* samples, size_t frames) override;
    void Pause() override;
    void Resume() override;
    void Reset() override;
    void Close() override {}

    int64_t PlayedUSecs() const override;
    size_t PendingFrames() const override;
    State CurrentState() const override;
    std::string Failure() const override;

private:
    std::shared_ptr<TMP3Encoding> encoding_;
    bool open_ = false;
};

} // namespace olv
