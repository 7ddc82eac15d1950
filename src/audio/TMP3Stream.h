#pragma once

#include "audio/TAtomicFileWriter.h"
#include "audio/TLameEncoder.h"
#include "audio/TPcmConverter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace olv {

// Encodes PCM into an MP3 file as it arrives, so that speech can be encoded while it is being
// synthesised and a long text is never held in memory. The input is brought to the encoder's
// rate and channels on the way. The file appears under its name only when Finish succeeds;
// destroying the stream before that discards it. (The speech controller runs it on a thread of
// its own: see TMP3Encoding.)
class TMP3Stream {
public:
    // Throws EAudioFileError when the file cannot be created or the encoder refuses the
    // configuration ("Error opening encoding stream <code>").
    TMP3Stream(const std::string& mp3File, int inputRate, int inputChannels,
               const TLameConfig& config);

    // Takes interleaved 16-bit frames at the input rate and channels. Throws EAudioFileError.
    void Write(const int16_t* samples, size_t frames);
    // Encodes the rest, ends the stream and puts the file in place. Throws EAudioFileError.
    void Finish();

    const std::string& Path() const { return file_.Path(); }

private:
    void EncodeBlock(const TPcmBlock& block);

    TPcmConverter converter_;
    TAtomicFileWriter file_;
    TLameEncoder encoder_;
    int outputChannels_;
    std::vector<unsigned char> encoded_;
    bool finished_ = false;
};

} // namespace olv
