#include "audio/TMP3Class.h"

#include "audio/TAtomicFileWriter.h"
#include "audio/TLameEncoder.h"
#include "audio/TPcmConverter.h"
#include "audio/TWaveFileReader.h"
#include "platform/MessageHook.h"
#include "platform/ProcessMessages.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <cstdio>
#include <exception>
#include <optional>

namespace olv {
namespace {

// The user interface gets a turn (progress, pending messages) once in this many chunks.
constexpr int kChunksPerProgress = 101;

// Rates for low-rate voices: a rule applies to the given channels, input rates and bit rate.
struct RateRule {
    bool Stereo;
    bool FromVoiceRates; // input of 8000 or 16000 Hz; otherwise input of 22050 Hz
    int Bitrate;
    int ConvertRate;
};

constexpr RateRule kRateRules[] = {
    {false, true, 16, 16000},  {false, true, 32, 32000}, {false, true, 56, 48000},
    {false, false, 16, 16000}, {true, true, 64, 32000},  {true, true, 112, 48000},
};

bool RuleMatches(const RateRule& rule, bool stereo, int inputRate, int bitrate) {
    const bool inputMatches =
        rule.FromVoiceRates ? (inputRate == 8000 || inputRate == 16000) : inputRate == 22050;
    return rule.Stereo == stereo && rule.Bitrate == bitrate && inputMatches;
}

// A failure of ConvertFormat: Text is shown to the user, Detail only logged.
struct ConversionFailure {
    std::string Text;
    std::string Detail;
};

} // namespace

TSampleRates TMP3Class::GetSampleRates(int inputRate) {
    const bool stereo = Channels() == "Stereo";
    for (const RateRule& rule : kRateRules) {
        if (!RuleMatches(rule, stereo, inputRate, bitrate_))
            continue;
        // A stereo quality takes the converted rate as its own.
        if (rule.Stereo)
            sampleRate_ = rule.ConvertRate;
        return {rule.ConvertRate, rule.ConvertRate};
    }
    return {sampleRate_, sampleRate_};
}

bool TMP3Class::ConvertFormat(const std::string& wavFile, const std::string& mp3File) {
    abortRequested_ = false;
    Log("Starting Lame MP3 conversion");
    try {
        TWaveFileReader wav = OpenWaveForEncoding(wavFile);
        std::unique_ptr<TAtomicFileWriter> mp3;
        try {
            mp3 = std::make_unique<TAtomicFileWriter>(mp3File);
        } catch (const std::exception& error) {
            Log("Exception in ConvertFormat opening mp3 file");
            throw ConversionFailure{error.what(), error.what()};
        }
        EncodeAudio(wav, *mp3);
    } catch (const ConversionFailure& failure) {
        Log(failure.Text);
        if (!failure.Detail.empty() && failure.Detail != failure.Text)
            Log(failure.Detail);
        ShowMessage(failure.Text);
        return false;
    }
    // An abort keeps what was encoded; either way the WAV file has served its purpose.
    std::remove(wavFile.c_str());
    return !abortRequested_;
}

TWaveFileReader TMP3Class::OpenWaveForEncoding(const std::string& wavFile) {
    std::optional<TWaveFileReader> wav;
    try {
        wav.emplace(wavFile);
    } catch (const std::exception& error) {
        Log("Exception in ConvertFormat opening wav file");
        throw ConversionFailure{error.what(), error.what()};
    }
    try {
        wav->ReadHeader();
    } catch (const std::exception& error) {
        throw ConversionFailure{"Read Error reading wav header", error.what()};
    }
    try {
        wav->CheckPcm16();
    } catch (const std::exception& error) {
        throw ConversionFailure{error.what(), error.what()};
    }
    return std::move(*wav);
}

void TMP3Class::EncodeAudio(TWaveFileReader& wav, TAtomicFileWriter& mp3) {
    // The file's own rate is the truth about the samples; normally it is EncodeRate already.
    if (wav.SampleRate() != encodeRate_)
        Log("Encoding at the file's rate " + Decimal(wav.SampleRate()) + " Hz instead of " +
            Decimal(encodeRate_) + " Hz");
    const int channels = ChannelCount();
    TLameEncoder encoder;
    if (const int code =
            encoder.InitStream({wav.SampleRate(), channels, bitrate_, encoderQuality_}))
        throw ConversionFailure{"Error opening encoding stream " + Decimal(code), ""};

    // Only the channels may need changing here: a mono file for a stereo quality is doubled.
    TPcmConverter channelAdapter(wav.SampleRate(), wav.Channels(), wav.SampleRate(), channels);
    const size_t chunkFrames = encoder.SamplesPerChunk() / static_cast<size_t>(channels);
    std::vector<int16_t> input(chunkFrames * static_cast<size_t>(wav.Channels()));
    std::vector<unsigned char> output;
    const auto bytesTotal = static_cast<int64_t>(wav.DataBytes());
    int64_t bytesDone = 0;
    int progressCounter = 0;
    for (;;) {
        size_t frames = 0;
        try {
            frames = wav.ReadFrames(input.data(), chunkFrames);
        } catch (const std::exception& error) {
            throw ConversionFailure{"Read Error", error.what()};
        }
        if (frames == 0)
            break;
        const TPcmBlock block = channelAdapter.Convert(input.data(), frames);
        const size_t samples = block.Frames * static_cast<size_t>(channels);
        if (const int code = encoder.EncodeChunk(block.Samples, samples, output))
            throw ConversionFailure{"beEncodeChunk failed " + Decimal(code), ""};
        WriteOrFail(mp3, output, "Write Error (1)");
        if (abortRequested_)
            break;
        bytesDone += static_cast<int64_t>(frames * wav.BytesPerFrame());
        if (++progressCounter % kChunksPerProgress == 0)
            RaiseProgress(bytesDone, bytesTotal);
    }
    if (const int code = encoder.DeinitStream(output))
        throw ConversionFailure{"beExitStream failed " + Decimal(code), ""};
    WriteOrFail(mp3, output, "Write error (2)");
    try {
        mp3.Commit();
    } catch (const std::exception& error) {
        throw ConversionFailure{"Write error (2)", error.what()};
    }
}

void TMP3Class::WriteOrFail(TAtomicFileWriter& mp3, const std::vector<unsigned char>& bytes,
                            const char* failureText) {
    try {
        mp3.Write(bytes.data(), bytes.size());
    } catch (const std::exception& error) {
        throw ConversionFailure{failureText, error.what()};
    }
}

// Pending messages are processed even without a progress handler, so that Stop always reaches
// a running conversion.
void TMP3Class::RaiseProgress(int64_t bytesDone, int64_t bytesTotal) {
    if (OnProgress)
        OnProgress(*this, bytesDone, bytesTotal);
    ProcessMessages();
}

std::unique_ptr<TMP3Stream> TMP3Class::OpenStream(const std::string& mp3File, int inputRate,
                                                  int inputChannels) {
    const TSampleRates rates = GetSampleRates(inputRate);
    encodeRate_ = rates.EncodeRate;
    const TLameConfig config{rates.ConvertRate, ChannelCount(), bitrate_, encoderQuality_};
    return std::make_unique<TMP3Stream>(mp3File, inputRate, inputChannels, config);
}

} // namespace olv
