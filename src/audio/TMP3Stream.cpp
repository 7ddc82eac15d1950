#include "audio/TMP3Stream.h"

#include "audio/EAudioFileError.h"

namespace olv {

TMP3Stream::TMP3Stream(const std::string& mp3File, int inputRate, int inputChannels,
                       const TLameConfig& config)
    : converter_(inputRate, inputChannels, config.SampleRate, config.Channels), file_(mp3File),
      outputChannels_(config.Channels) {
    if (const int code = encoder_.InitStream(config))
        throw EAudioFileError("Error opening encoding stream " + std::to_string(code));
}

void TMP3Stream::Write(const int16_t* samples, size_t frames) {
    if (finished_)
        throw EAudioFileError("The MP3 file " + Path() + " is already complete");
    EncodeBlock(converter_.Convert(samples, frames));
}

void TMP3Stream::EncodeBlock(const TPcmBlock& block) {
    const size_t count = block.Frames * static_cast<size_t>(outputChannels_);
    if (const int code = encoder_.EncodeChunk(block.Samples, count, encoded_))
        throw EAudioFileError("beEncodeChunk failed " + std::to_string(code));
    file_.Write(encoded_.data(), encoded_.size());
}

void TMP3Stream::Finish() {
    if (finished_)
        return;
    EncodeBlock(converter_.Flush());
    if (const int code = encoder_.DeinitStream(encoded_))
        throw EAudioFileError("beExitStream failed " + std::to_string(code));
    file_.Write(encoded_.data(), encoded_.size());
    file_.Commit();
    finished_ = true;
}

} // namespace olv
