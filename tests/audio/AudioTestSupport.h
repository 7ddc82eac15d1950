#pragma once

// What the audio suites share: watching the message hook, the steps for one MP3 from a WAV
// file, and the checks of an encoded file.

#include "audio/TMP3Class.h"
#include "audio/TWaveFileReader.h"
#include "platform/MessageHook.h"
#include "support/TempDir.h"
#include "support/audio/LameDecode.h"
#include "support/audio/Mp3Info.h"
#include "support/audio/ToneWav.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace olv::test {

// Collects what would have been shown to the user.
class ShownMessages {
public:
    ShownMessages()
        : previous_(SetMessageHook([this](const std::string& text) { Texts.push_back(text); })) {}
    ~ShownMessages() { SetMessageHook(previous_); }
    std::vector<std::string> Texts;

private:
    MessageHookFn previous_;
};

// The speech controller's steps for one MP3: prepare the engine's WAV (deleting it when an
// intermediate file was made), then encode.
inline bool MakeMp3(TMP3Class& writer, const std::string& engineWav, const std::string& mp3) {
    const std::filesystem::path source(engineWav);
    const std::string intermediate = source.parent_path() / ("$$$" + source.filename().string());
    if (!writer.ConvertWaveFile(engineWav, intermediate))
        return writer.ConvertFormat(engineWav, mp3);
    std::remove(engineWav.c_str());
    return writer.ConvertFormat(intermediate, mp3);
}

// lame adds its encoder delay and pads the last frame: a few frames at most.
inline void ExpectLength(const Mp3Info& info, double seconds) {
    EXPECT_GE(info.Duration(), seconds);
    EXPECT_LE(info.Duration(), seconds + 0.15);
}

// Decodes the MP3 with the lame command and reads it back: its channels and length, and the
// pitch of the tone in it unless pitch is 0.
inline void ExpectDecodesTo(const std::string& mp3, const TempDir& dir, double seconds,
                            int channels, double pitch = 0) {
    ASSERT_TRUE(LameDecode(mp3, dir.File("decoded.wav")));
    TWaveFileReader decoded = TWaveFileReader::Open(dir.File("decoded.wav"));
    EXPECT_EQ(decoded.Channels(), channels);
    EXPECT_NEAR(static_cast<double>(decoded.Frames()) / decoded.SampleRate(), seconds, 0.15);
    if (pitch == 0)
        return;
    std::vector<int16_t> samples(decoded.Frames() * decoded.BytesPerFrame() / 2);
    decoded.ReadFrames(samples.data(), decoded.Frames());
    EXPECT_NEAR(ZeroCrossingFrequency(samples, channels, decoded.SampleRate()), pitch, 10.0);
}

} // namespace olv::test
