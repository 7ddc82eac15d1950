#pragma once

#include "speech/SpeechAttributes.h"
#include "speech/TGUID.h"
#include "speech/TTSModeInfo.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

class AudioOutput;
class SpeechEngine;
class SynthesisWorker;
class TWaveFileWriter;
class Timer;
struct EngineVoice;
struct SpeechEvent;

enum class TOutputDest { odAudioDevice, odFile, odDirect, odOther };
enum class TCharacterSet { csText, csIPAPhonetic, csEnginePhonetic };
enum class TControlTags { ctNone, ctTagged };
// The attribute named by OnAttribChanged.
enum class TTTSAttribute { taRealTime = 0, taPitch = 1, taSpeed = 2, taVolume = 3 };

// The speech component: opens one mode (an engine voice, see TTSModes) on one audio destination
// (a sound device, a WAV file, or one the caller supplies), speaks texts to it, pauses,
// resumes and resets it, reads and sets its pitch, speed and volume, and reports progress
// through its events.
//
// Speak returns at once; synthesis runs on a thread of its own. Every event runs on the main
// thread, from DeliverEvents, which a timer (platform/Timer.h) calls every few milliseconds
// while the component is active. Word positions are byte offsets into the text as if it were
// wide characters: twice the 0-based position of the word's first character.
//
// Failures raise ESpeechError. An exception that escapes an event handler is shown to the user
// (ShowMessage) and logged, as the window's own handlers would be.
class TTTS {
public:
    // The attribute scales (the same for every engine; each engine maps them onto its own).
    static constexpr int kMinPitch = 1, kMaxPitch = 100, kDefaultPitch = 50;
    static constexpr int kMinSpeed = 80, kMaxSpeed = 450, kDefaultSpeed = 175;
    static constexpr int kMinVolume = 1, kMaxVolume = 0xFFFF, kDefaultVolume = 0xFFFF;
    static constexpr int kTickMs = 20;

    TTTS();
    TTTS(const TTTS&) = delete;
    TTTS& operator=(const TTTS&) = delete;
    ~TTTS();

    // Modes ------------------------------------------------------------------------------
    // Every installed mode's name, in enumeration order (the user's language first).
    static std::vector<std::string> ModeNames();
    // Throws "The value assigned to the ModeName property is invalid" for an unknown name.
    static TGUID FindModeID(std::string_view modeName);
    // Selects a mode; only while not active.
    void SelectMode(const TGUID& modeId);
    const TGUID& ModeID() const { return modeInfo_.ModeID; }
    std::string ModeName() const { return modeInfo_.ModeName; }
    void SetModeName(std::string_view modeName);
    // The selected mode's record (empty until a mode is selected or the component activated).
    TTSModeInfo ModeInfo() const { return modeInfo_; }

    // Destination ------------------------------------------------------------------------
    int AudioDeviceID() const { return audioDeviceId_; }
    // -1 (the default output) to the number of output devices minus one; only while inactive.
    void SetAudioDeviceID(int device);
    TOutputDest OutputDest() const { return outputDest_; }
    void SetOutputDest(TOutputDest dest) { outputDest_ = dest; }
    const std::string& OutputFile() const { return outputFile_; }
    void SetOutputFile(std::string path) { outputFile_ = std::move(path); }
    TCharacterSet CharacterSet() const { return characterSet_; }
    void SetCharacterSet(TCharacterSet set) { characterSet_ = set; }
    TControlTags ControlTags() const { return controlTags_; }
    void SetControlTags(TControlTags tags) { controlTags_ = tags; }

    bool Active() const { return active_; }
    // Opens the mode on the destination (false: closes it; a WAV file is then complete on
    // disk). Activation fails with ESpeechError, leaving the component inactive; so does
    // closing a file that could not be completed (with the file's own reason, such as a full
    // disk), and an earlier file of that name then stays as it was.
    void SetActive(bool active);
    // Closes without completing a file destination: what was rendered is dropped and an
    // earlier file of that name stays as it was. Never throws.
    void Abandon();

    // Speaking ---------------------------------------------------------------------------
    // Queues text (Latin-1) behind anything still being spoken. With ControlTags ctTagged,
    // "\Pau=N\" tags become N milliseconds of silence; nothing else acts as a tag.
    void Speak(std::string_view text);
    bool AudioPaused() const { return paused_; }
    void SetAudioPaused(bool paused);
    // Stops speaking and drops what is queued; OnAudioStop follows.
    void AudioReset();
    // The rendering speed of a file destination in 1/256 of real time. Kept for callers;
    // files are always rendered as fast as the engine can.
    void RealTimeSet(uint16_t value) { realTime_ = value; }
    uint16_t RealTimeGet() const { return realTime_; }

    // Attributes (-1 while inactive; setting needs the component active; values are
    // clamped to the range) --------------------------------------------------------------
    int PitchMin() const { return Attribute(kMinPitch); }
    int PitchMax() const { return Attribute(kMaxPitch); }
    int Pitch() const { return Attribute(attributes_.Pitch.load()); }
    void SetPitch(int value);
    int SpeedMin() const { return Attribute(kMinSpeed); }
    int SpeedMax() const { return Attribute(kMaxSpeed); }
    int Speed() const { return Attribute(attributes_.Speed.load()); }
    void SetSpeed(int value);
    int VolumeLeftMin() const { return Attribute(kMinVolume); }
    int VolumeLeftMax() const { return Attribute(kMaxVolume); }
    int VolumeLeft() const { return Attribute(attributes_.VolumeLeft.load()); }
    void SetVolumeLeft(int value);
    int VolumeRightMin() const { return Attribute(kMinVolume); }
    int VolumeRightMax() const { return Attribute(kMaxVolume); }
    int VolumeRight() const { return Attribute(attributes_.VolumeRight.load()); }
    void SetVolumeRight(int value);

    // Runs the notifications that have arrived. The component's timer calls it; a program
    // without timers may call it itself.
    void DeliverEvents();

    // Events (time stamps are microseconds of audio since activation or the last reset) ----
    std::function<void(TTTS& sender, uint64_t timeStamp)> OnTextDataStarted;
    std::function<void(TTTS& sender, uint64_t timeStamp, uint32_t flags)> OnTextDataDone;
    std::function<void(TTTS& sender, uint64_t timeStamp, uint32_t mark)> OnBookMark;
    std::function<void(TTTS& sender, uint64_t timeStamp, uint32_t byteOffset)> OnWordPosition;
    std::function<void(TTTS& sender, TTTSAttribute attribute)> OnAttribChanged;
    std::function<void(TTTS& sender, uint64_t timeStamp)> OnAudioStart;
    std::function<void(TTTS& sender, uint64_t timeStamp)> OnAudioStop;
    // Never raised: the engines give no mouth shapes.
    std::function<void(TTTS& sender, uint64_t timeStamp, char ipaPhoneme, char enginePhoneme,
                       uint32_t hints)>
        OnVisual;
    // Supplies the destination for odOther: an output the component then opens and plays to.
    std::function<void(TTTS& sender, std::unique_ptr<AudioOutput>& destination)> OnMakeOtherDest;

private:
    struct PendingWord {
        uint64_t Frame;
        uint32_t ByteOffset;
    };

    int Attribute(int value) const { return active_ ? value : -1; }
    void SetAttribute(std::atomic<int>& slot, int value, int low, int high, TTTSAttribute which);
    void RequireActive(const char* method) const;
    void RequireInactive(const char* property) const;

    void Activate();
    void OpenDevice(int device, std::unique_ptr<AudioOutput> output);
    void OpenOtherDest();
    void OpenFile();
    void Deactivate(bool keepFile);

    // DeliverEvents in steps; each returns false when a handler closed or destroyed us.
    bool DeliverQueued();
    bool DeliverWorkerEvents();
    bool DeliverPlayback();
    bool DeliverFileEnd();
    bool FinishSession();
    bool AudioHasEnded(int64_t playedFrames);
    uint64_t PlayedFrames() const;
    uint64_t Microseconds(uint64_t frames) const;
    bool Fire(const std::function<void()>& call);

    // Settings and mode.
    TTSModeInfo modeInfo_;
    SpeechEngine* engine_ = nullptr;
    const EngineVoice* voice_ = nullptr;
    int audioDeviceId_ = -1;
    TOutputDest outputDest_ = TOutputDest::odAudioDevice;
    std::string outputFile_;
    TCharacterSet characterSet_ = TCharacterSet::csText;
    TControlTags controlTags_ = TControlTags::ctNone;
    uint16_t realTime_ = 256;
    SpeechAttributes attributes_;

    // While active.
    bool active_ = false;
    bool paused_ = false;
    int sampleRate_ = 0;
    std::unique_ptr<AudioOutput> output_;
    std::unique_ptr<TWaveFileWriter> file_;
    std::unique_ptr<SynthesisWorker> worker_;
    std::unique_ptr<Timer> timer_;
    uint32_t failure_ = 0;
    std::string failureText_; // the user's reason for failure_, when the code says too little

    // Progress of the texts being spoken.
    bool sessionOpen_ = false;  // a text was given and its audio has not ended
    bool audioStarted_ = false; // OnAudioStart was raised for it
    bool stopPending_ = false;  // a reset owes OnAudioStop
    uint64_t writtenFrames_ = 0;
    uint64_t sessionStartFrame_ = 0;
    uint64_t lastEventFrame_ = 0;
    uint64_t epoch_ = 0; // counts resets and closes: events of an older epoch are void
    int64_t lastPlayedFrames_ = -1;
    std::chrono::steady_clock::time_point lastProgress_;
    std::deque<PendingWord> words_;
    std::vector<TTTSAttribute> attributeChanges_;
    bool delivering_ = false;
    std::shared_ptr<bool> alive_;
};

} // namespace olv
