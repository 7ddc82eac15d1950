#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace olv {

// What the sound server reports about one output device. The application fills it from
// QMediaDevices; the core derives the device dialog's formats and channels from it.
struct AudioDeviceInfo {
    std::string Id;          // the server's name for it ("olvtest")
    std::string Description; // what the user sees ("OlvTest")
    bool IsDefault = false;
    int MinSampleRate = 0;
    int MaxSampleRate = 0;
    int MinChannels = 0;
    int MaxChannels = 0;
    bool SupportsUInt8 = false;
    bool SupportsInt16 = false;
};

// 16-bit signed little-endian PCM, interleaved.
struct PcmFormat {
    int SampleRate = 22050;
    int Channels = 1;
};

// A stream of PCM to one sound device. Everything happens on the main thread: writes are
// queued and played in order; the position says how much of it the device has consumed.
class AudioOutput {
public:
    enum class State { Stopped, Active, Suspended, Idle };

    virtual ~AudioOutput() = default;

    // Opens device number device (an index into the device list; -1 the default output).
    // Returns an empty text on success, else why it failed.
    virtual std::string Open(int device, const PcmFormat& format) = 0;
    // Queues interleaved frames for playing.
    virtual void Write(const int16_t* samples, size_t frames) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Drops everything queued and stops at once; the position starts again from 0.
    virtual void Reset() = 0;
    virtual void Close() = 0;

    // Microseconds of audio the device has consumed since Open or the last Reset.
    virtual int64_t PlayedUSecs() const = 0;
    // Frames written but not yet taken by the device.
    virtual size_t PendingFrames() const = 0;
    virtual State CurrentState() const = 0;
    // Why the stream broke while playing (the server went away), or an empty text.
    virtual std::string Failure() const = 0;
};

using AudioOutputFactory = std::function<std::unique_ptr<AudioOutput>()>;
using AudioDeviceLister = std::function<std::vector<AudioDeviceInfo>()>;

namespace detail {
inline AudioOutputFactory& OutputFactorySlot() {
    static AudioOutputFactory factory;
    return factory;
}
inline AudioDeviceLister& DeviceListerSlot() {
    static AudioDeviceLister lister;
    return lister;
}
} // namespace detail

// Makes an output with the installed factory; null when none is installed (no sound support,
// as in the core tests and command-line tools).
inline std::unique_ptr<AudioOutput> MakeAudioOutput() {
    auto& factory = detail::OutputFactorySlot();
    return factory ? factory() : nullptr;
}

inline AudioOutputFactory SetAudioOutputFactory(AudioOutputFactory factory) {
    return std::exchange(detail::OutputFactorySlot(), std::move(factory));
}

// The output devices in the server's order, read afresh on every call (device-change signals
// cannot be relied on). Empty without a lister or without a sound server.
inline std::vector<AudioDeviceInfo> ListAudioDevices() {
    auto& lister = detail::DeviceListerSlot();
    return lister ? lister() : std::vector<AudioDeviceInfo>{};
}

inline AudioDeviceLister SetAudioDeviceLister(AudioDeviceLister lister) {
    return std::exchange(detail::DeviceListerSlot(), std::move(lister));
}

} // namespace olv
