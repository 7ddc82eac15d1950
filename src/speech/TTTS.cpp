#include "speech/TTTS.h"

#include "audio/TWaveFileWriter.h"
#include "platform/AudioOutput.h"
#include "platform/MessageHook.h"
#include "platform/Timer.h"
#include "speech/ESpeechError.h"
#include "speech/SynthesisWorker.h"
#include "speech/TTSModes.h"
#include "util/Log.h"

#include <algorithm>

namespace olv {
namespace {

constexpr const char* kNoWaveOut = "No wave out devices available on system.";
constexpr const char* kNoEngine = "The Speech API Objects have not been properly registered on "
                                  "this machine. Or no speech engine installed.";
constexpr const char* kBadModeName = "The value assigned to the ModeName property is invalid";
constexpr const char* kBadDeviceId =
    "The value specified for the AudioDeviceID is outside the range of available IDs";
constexpr const char* kNoAttributes =
    "Couldn''t create attributes Interface: Is engine registered?";
constexpr const char* kNoFileName =
    "OutputDest of odFile requres a valid path and file name in the OutputFile property";
constexpr const char* kNoOtherDestHandler =
    "An OnMakeOtherDest event must be defined to use an OutputDest of odOther.";
constexpr const char* kNoOtherDest = "OnMakeOtherDest must assign DestInterface parameter";

// A stream whose position has not moved for this long while not playing has ended.
constexpr auto kStallLimit = std::chrono::seconds(1);
// How far a sound device's audio runs ahead of what it has played.
constexpr int kAheadSeconds = 2;

} // namespace

TTTS::TTTS() : alive_(std::make_shared<bool>(true)) {}

TTTS::~TTTS() {
    *alive_ = false;
    if (!active_)
        return;
    Abandon();
}

// Modes ---------------------------------------------------------------------------------------

std::vector<std::string> TTTS::ModeNames() {
    std::vector<std::string> names;
    for (const TTSModes::Mode& mode : TTSModes::All())
        names.push_back(mode.Voice->Info.ModeName);
    return names;
}

TGUID TTTS::FindModeID(std::string_view modeName) {
    auto mode = TTSModes::FindByName(modeName);
    if (!mode)
        throw ESpeechError(kBadModeName);
    return mode->Voice->Info.ModeID;
}

void TTTS::SelectMode(const TGUID& modeId) {
    RequireInactive("ModeID");
    auto mode = TTSModes::FindByID(modeId);
    if (!mode)
        throw ESpeechError(kBadModeName);
    engine_ = mode->Engine;
    voice_ = mode->Voice;
    modeInfo_ = voice_->Info;
}

void TTTS::SetModeName(std::string_view modeName) {
    SelectMode(FindModeID(modeName));
}

// Destination ---------------------------------------------------------------------------------

void TTTS::SetAudioDeviceID(int device) {
    RequireInactive("AudioDeviceID");
    int count = static_cast<int>(ListAudioDevices().size());
    if (device < -1 || device >= count)
        throw ESpeechError(kBadDeviceId);
    audioDeviceId_ = device;
}

void TTTS::SetActive(bool active) {
    if (active && !active_)
        Activate();
    else if (!active && active_)
        Deactivate(true);
}

void TTTS::Abandon() {
    if (!active_)
        return;
    try {
        Deactivate(false);
    } catch (const std::exception& error) {
        Log(std::string("Speech component closed with an error: ") + error.what());
    }
}

void TTTS::Activate() {
    if (voice_ == nullptr) {
        auto modes = TTSModes::All();
        if (modes.empty())
            throw ESpeechError(kNoEngine);
        SelectMode(modes.front().Voice->Info.ModeID);
    }
    sampleRate_ = voice_->SampleRate;
    // A freshly opened engine starts from its defaults.
    attributes_.Pitch = kDefaultPitch;
    attributes_.Speed = kDefaultSpeed;
    attributes_.VolumeLeft = attributes_.VolumeRight = kDefaultVolume;
    switch (outputDest_) {
    case TOutputDest::odAudioDevice:
        OpenDevice(audioDeviceId_, MakeAudioOutput());
        break;
    case TOutputDest::odDirect: // the engine's own output: the default device
        OpenDevice(-1, MakeAudioOutput());
        break;
    case TOutputDest::odOther:
        OpenOtherDest();
        break;
    case TOutputDest::odFile:
        OpenFile();
        break;
    }
    worker_ = std::make_unique<SynthesisWorker>(*engine_, *voice_, attributes_, file_.get());
    timer_ = MakeTimer();
    timer_->OnTimer = [this] { DeliverEvents(); };
    timer_->Start(kTickMs);
    failure_ = 0;
    failureText_.clear();
    paused_ = false;
    sessionOpen_ = audioStarted_ = stopPending_ = false;
    writtenFrames_ = sessionStartFrame_ = lastEventFrame_ = 0;
    active_ = true;
    Log("Speech component active: " + modeInfo_.ModeName);
}

void TTTS::OpenDevice(int device, std::unique_ptr<AudioOutput> output) {
    auto devices = ListAudioDevices();
    if (devices.empty() || output == nullptr)
        throw ESpeechError(kNoWaveOut);
    if (device >= static_cast<int>(devices.size()))
        throw ESpeechError(ESpeechError::kBadDeviceID);
    std::string why = output->Open(device, PcmFormat{sampleRate_, 1});
    if (!why.empty()) {
        Log("Audio device " + std::to_string(device) + " failed: " + why);
        throw ESpeechError(ESpeechError::kDeviceNotReady);
    }
    output_ = std::move(output);
}

void TTTS::OpenOtherDest() {
    if (!OnMakeOtherDest)
        throw ESpeechError(kNoOtherDestHandler);
    std::unique_ptr<AudioOutput> destination;
    OnMakeOtherDest(*this, destination);
    if (destination == nullptr)
        throw ESpeechError(kNoOtherDest);
    std::string why = destination->Open(audioDeviceId_, PcmFormat{sampleRate_, 1});
    if (!why.empty()) {
        Log("Audio destination failed: " + why);
        throw ESpeechError(ESpeechError::kDeviceNotReady);
    }
    output_ = std::move(destination);
}

void TTTS::OpenFile() {
    if (outputFile_.empty())
        throw ESpeechError(kNoFileName);
    try {
        file_ = std::make_unique<TWaveFileWriter>(outputFile_, sampleRate_, 1);
    } catch (const std::exception& error) {
        // The file's own reason (a folder, a missing folder, no permission) tells the user
        // more than the engine's disk-error text.
        Log(std::string("Speech output file: ") + error.what());
        throw ESpeechError(error.what(), ESpeechError::kOutOfDisk);
    }
}

void TTTS::Deactivate(bool keepFile) {
    ++epoch_;
    active_ = false;
    paused_ = false;
    worker_.reset(); // waits for the step in progress; the file is then ours alone
    timer_.reset();
    if (output_) {
        output_->Reset();
        output_->Close();
        output_.reset();
    }
    words_.clear();
    attributeChanges_.clear();
    sessionOpen_ = audioStarted_ = stopPending_ = false;
    if (!file_)
        return;
    auto file = std::move(file_);
    if (!keepFile)
        return; // dropped unfinished: the temporary file goes with it
    if (failure_ == 0) {
        try {
            file->Finish();
        } catch (const std::exception& error) {
            Log(std::string("Speech output file: ") + error.what());
            failure_ = ESpeechError::kOutOfDisk;
            failureText_ = error.what();
        }
    }
    // The file is incomplete and was not put in place.
    if (failure_ != 0 && failureText_.empty())
        throw ESpeechError(failure_);
    if (failure_ != 0)
        throw ESpeechError(failureText_, failure_);
}

// Speaking ------------------------------------------------------------------------------------

void TTTS::Speak(std::string_view text) {
    RequireActive("Speak");
    if (characterSet_ != TCharacterSet::csText)
        throw ESpeechError(ESpeechError::kInvalidParameter);
    if (text.empty())
        throw ESpeechError(ESpeechError::kTextEmpty);
    if (!sessionOpen_) {
        sessionOpen_ = true;
        audioStarted_ = false;
        sessionStartFrame_ = writtenFrames_;
        lastPlayedFrames_ = -1;
        lastProgress_ = std::chrono::steady_clock::now();
    }
    worker_->Add(std::string(text), controlTags_ == TControlTags::ctTagged);
}

void TTTS::SetAudioPaused(bool paused) {
    RequireActive("AudioPaused");
    if (paused == paused_)
        return;
    paused_ = paused;
    lastProgress_ = std::chrono::steady_clock::now();
    if (output_ && paused)
        output_->Pause();
    else if (output_)
        output_->Resume();
}

void TTTS::AudioReset() {
    RequireActive("AudioReset");
    ++epoch_;
    worker_->Cancel();
    if (output_)
        output_->Reset();
    words_.clear();
    writtenFrames_ = sessionStartFrame_ = lastEventFrame_ = 0;
    paused_ = false;
    if (sessionOpen_) {
        sessionOpen_ = audioStarted_ = false;
        stopPending_ = true;
    }
}

// Attributes ----------------------------------------------------------------------------------

void TTTS::SetAttribute(std::atomic<int>& slot, int value, int low, int high, TTTSAttribute which) {
    if (!active_)
        throw ESpeechError(kNoAttributes);
    int clamped = std::clamp(value, low, high);
    if (slot.exchange(clamped) != clamped)
        attributeChanges_.push_back(which);
}

void TTTS::SetPitch(int value) {
    SetAttribute(attributes_.Pitch, value, kMinPitch, kMaxPitch, TTTSAttribute::taPitch);
}

void TTTS::SetSpeed(int value) {
    SetAttribute(attributes_.Speed, value, kMinSpeed, kMaxSpeed, TTTSAttribute::taSpeed);
}

void TTTS::SetVolumeLeft(int value) {
    SetAttribute(attributes_.VolumeLeft, value, kMinVolume, kMaxVolume, TTTSAttribute::taVolume);
}

void TTTS::SetVolumeRight(int value) {
    SetAttribute(attributes_.VolumeRight, value, kMinVolume, kMaxVolume, TTTSAttribute::taVolume);
}

void TTTS::RequireActive(const char* method) const {
    if (!active_)
        throw ESpeechError(std::string("The Active property must be TRUE before the ") + method +
                           " method can be called");
}

void TTTS::RequireInactive(const char* property) const {
    if (active_)
        throw ESpeechError(
            std::string("The Active property must be FALSE before you can set the ") + property +
            " property");
}

// Events --------------------------------------------------------------------------------------

void TTTS::DeliverEvents() {
    if (!active_ || delivering_)
        return;
    std::shared_ptr<bool> alive = alive_;
    delivering_ = true;
    if (DeliverQueued() && !paused_ && DeliverWorkerEvents()) {
        if (file_)
            DeliverFileEnd();
        else
            DeliverPlayback();
    }
    if (*alive)
        delivering_ = false;
}

bool TTTS::Fire(const std::function<void()>& call) {
    std::shared_ptr<bool> alive = alive_;
    uint64_t epoch = epoch_;
    try {
        call();
    } catch (const std::exception& error) {
        Log(std::string("Speech event handler failed: ") + error.what());
        ShowMessage(error.what());
    }
    // Stop delivering when the handler destroyed, closed or reset the component.
    return *alive && epoch_ == epoch;
}

bool TTTS::DeliverQueued() {
    auto changes = std::move(attributeChanges_);
    attributeChanges_.clear();
    for (TTTSAttribute which : changes)
        if (OnAttribChanged && !Fire([&] { OnAttribChanged(*this, which); }))
            return false;
    if (stopPending_) {
        stopPending_ = false;
        if (OnAudioStop && !Fire([&] { OnAudioStop(*this, 0); }))
            return false;
    }
    return true;
}

// A sound device gets audio a little ahead of what it plays, not all that the engine has made:
// a long text is made in a moment and copying all of it at once would hold up the window.
bool TTTS::DeliverWorkerEvents() {
    uint64_t room = UINT64_MAX;
    if (!file_) {
        const uint64_t ahead = static_cast<uint64_t>(sampleRate_) * kAheadSeconds;
        const uint64_t played = PlayedFrames();
        const uint64_t queued = writtenFrames_ > played ? writtenFrames_ - played : 0;
        room = queued < ahead ? ahead - queued : 0;
    }
    for (SpeechEvent& event : worker_->Take(room)) {
        uint64_t time = Microseconds(event.Frame);
        lastEventFrame_ = std::max(lastEventFrame_, event.Frame);
        bool carryOn = true;
        switch (event.What) {
        case SpeechEvent::Kind::TextStarted:
            if (OnTextDataStarted)
                carryOn = Fire([&] { OnTextDataStarted(*this, time); });
            if (carryOn && file_ && !audioStarted_) {
                audioStarted_ = true;
                if (OnAudioStart)
                    carryOn = Fire([&] { OnAudioStart(*this, time); });
            }
            break;
        case SpeechEvent::Kind::Word:
            if (!file_)
                words_.push_back(PendingWord{event.Frame, event.ByteOffset});
            else if (OnWordPosition)
                carryOn = Fire([&] { OnWordPosition(*this, time, event.ByteOffset); });
            break;
        case SpeechEvent::Kind::Audio:
            output_->Write(event.Samples.data(), event.Samples.size());
            writtenFrames_ += event.Samples.size();
            break;
        case SpeechEvent::Kind::TextDone:
            if (OnTextDataDone)
                carryOn = Fire([&] { OnTextDataDone(*this, time, 0); });
            break;
        case SpeechEvent::Kind::Failed:
            failure_ = event.Code;
            failureText_ = event.Message;
            break;
        }
        if (!carryOn)
            return false;
    }
    return true;
}

bool TTTS::DeliverPlayback() {
    uint64_t played = PlayedFrames();
    if (sessionOpen_ && !audioStarted_ && played > sessionStartFrame_) {
        audioStarted_ = true;
        if (OnAudioStart && !Fire([&] { OnAudioStart(*this, Microseconds(played)); }))
            return false;
    }
    while (audioStarted_ && !words_.empty() && words_.front().Frame <= played) {
        PendingWord word = words_.front();
        words_.pop_front();
        if (OnWordPosition &&
            !Fire([&] { OnWordPosition(*this, Microseconds(word.Frame), word.ByteOffset); }))
            return false;
    }
    if (sessionOpen_ && AudioHasEnded(static_cast<int64_t>(played)))
        return FinishSession();
    worker_->SetBacklog(writtenFrames_ > played ? writtenFrames_ - played : 0);
    return true;
}

bool TTTS::DeliverFileEnd() {
    if (sessionOpen_ && worker_->Idle())
        return FinishSession();
    return true;
}

bool TTTS::AudioHasEnded(int64_t playedFrames) {
    if (!output_->Failure().empty()) {
        worker_->Cancel(); // nothing more can be heard: do not wait for the rest
        return true;
    }
    if (!worker_->Idle())
        return false;
    if (writtenFrames_ == sessionStartFrame_)
        return true;
    if (output_->PendingFrames() > 0)
        return false;
    if (playedFrames + sampleRate_ / 100 >= static_cast<int64_t>(writtenFrames_))
        return true;
    // A stream that stopped short of the end (the device went away) ends here too.
    auto now = std::chrono::steady_clock::now();
    if (playedFrames != lastPlayedFrames_ ||
        output_->CurrentState() == AudioOutput::State::Active) {
        lastPlayedFrames_ = playedFrames;
        lastProgress_ = now;
        return false;
    }
    return now - lastProgress_ > kStallLimit;
}

bool TTTS::FinishSession() {
    uint64_t end = file_ ? lastEventFrame_ : PlayedFrames();
    if (!audioStarted_) {
        audioStarted_ = true;
        if (OnAudioStart && !Fire([&] { OnAudioStart(*this, Microseconds(end)); }))
            return false;
    }
    while (!words_.empty()) {
        PendingWord word = words_.front();
        words_.pop_front();
        if (OnWordPosition &&
            !Fire([&] { OnWordPosition(*this, Microseconds(word.Frame), word.ByteOffset); }))
            return false;
    }
    if (!output_ || output_->Failure().empty())
        Log("Speech audio ended");
    else
        Log("Speech audio ended early: " + output_->Failure());
    sessionOpen_ = audioStarted_ = false;
    return !OnAudioStop || Fire([&] { OnAudioStop(*this, Microseconds(end)); });
}

uint64_t TTTS::PlayedFrames() const {
    int64_t usecs = output_ ? std::max<int64_t>(0, output_->PlayedUSecs()) : 0;
    return static_cast<uint64_t>(usecs) * static_cast<uint64_t>(sampleRate_) / 1000000;
}

uint64_t TTTS::Microseconds(uint64_t frames) const {
    return sampleRate_ > 0 ? frames * 1000000 / static_cast<uint64_t>(sampleRate_) : 0;
}

} // namespace olv
