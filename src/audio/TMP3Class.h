#pragma once

#include "audio/TAudioFileClass.h"
#include "audio/TMP3Stream.h"

#include <memory>
#include <string>
#include <vector>

namespace olv {

class TAtomicFileWriter;
class TWaveFileReader;

// The MP3 writer: chooses the rates for the engine's audio and encodes a WAV file with
// libmp3lame at the chosen quality (constant bit rate, mono or stereo, private bit set).
//
// File to file, as the speech controller does it for one MP3:
//   SetQuality(stored quality);
//   if (ConvertWaveFile(engineWav, intermediateWav)) { delete engineWav; source = intermediateWav;
//   } ConvertFormat(source, mp3File);   // deletes source; Abort() stops it at the next chunk
// Failures are logged and shown through ShowMessage. OnProgress is raised, and pending messages
// are processed, every 101st chunk.
//
// Streaming, for encoding while speech is synthesised: OpenStream gives a sink for the PCM.
class TMP3Class : public TAudioFileClass {
public:
    explicit TMP3Class(bool hasNaturalVoices) : TAudioFileClass(hasNaturalVoices) {}

    // Low-rate voices are converted to a higher rate for some qualities; the encoder is always
    // told the rate the audio was converted to.
    TSampleRates GetSampleRates(int inputRate) override;
    // Encodes the WAV file (any rate, mono or stereo 16-bit PCM) into mp3File at the current
    // quality, then deletes the WAV file. True when the MP3 is complete; false after a failure
    // (shown; the WAV file is kept and an older mp3File stays as it was) or an abort (the MP3
    // holds the audio encoded so far; the WAV file is deleted).
    bool ConvertFormat(const std::string& wavFile, const std::string& mp3File) override;

    // A sink that encodes PCM of inputRate and inputChannels into mp3File as it arrives, at the
    // current quality. Throws EAudioFileError when it cannot be opened.
    std::unique_ptr<TMP3Stream> OpenStream(const std::string& mp3File, int inputRate,
                                           int inputChannels);

    // lame's algorithm quality, 0 (best, slowest) to 9; 3 is the lame command's default.
    int EncoderQuality() const { return encoderQuality_; }
    void SetEncoderQuality(int quality) { encoderQuality_ = quality; }

private:
    static TWaveFileReader OpenWaveForEncoding(const std::string& wavFile);
    void EncodeAudio(TWaveFileReader& wav, TAtomicFileWriter& mp3);
    static void WriteOrFail(TAtomicFileWriter& mp3, const std::vector<unsigned char>& bytes,
                            const char* failureText);
    void RaiseProgress(int64_t bytesDone, int64_t bytesTotal);

    int encoderQuality_ = 3;
};

} // namespace olv
