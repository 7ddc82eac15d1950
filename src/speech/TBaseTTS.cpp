#include "speech/TBaseTTS.h"

#include "audio/TMP3Class.h"
#include "platform/MessageHook.h"
#include "platform/ProcessMessages.h"
#include "platform/Timer.h"
#include "settings/TBaseRegistryClass.h"
#include "speech/AudioDevices.h"
#include "speech/DeclareOnce.h"
#include "speech/DocumentsFolder.h"
#include "speech/ESpeechError.h"
#include "speech/EttsException.h"
#include "speech/TBaseVoiceClass.h"
#include "speech/TBaseVoiceRegistryClass.h"
#include "speech/TMP3Destination.h"
#include "speech/TMP3Encoding.h"
#include "speech/TPreProcessor.h"
#include "speech/TVoiceEnumerator.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

namespace olv {
namespace {

constexpr const char* kHighlightWord = "TTS_HighlightWord";
constexpr const char* kDefaultVoiceID = "TTS_DefaultVoiceID";
constexpr const char* kOutputDir = "TTS_OutputDir";
constexpr const char* kOutputFormat = "TTS_OutputFormat";
constexpr const char* kAudioDeviceID = "TTS_AudioDeviceID";
constexpr const char* kVoiceAssignment = "TTS_VoiceAssignment";
constexpr const char* kRealTime = "RealTime";
constexpr const char* kRealTimeValue = "TTS_RealTimeValue";
constexpr const char* kMP3Quality = "MP3_Quality";

constexpr const char* kNoSoundCard = "A sound card is not detected";
constexpr const char* kAlreadyActive = "TTS is already active";
constexpr const char* kNotActive = "TTS is not active";
constexpr const char* kNoVoice = "No voice is installed to speak with";
constexpr const char* kNotInitialised = "Speech is not initialised";
constexpr const char* kNoFileBase = "Output file not specified";
constexpr const char* kNoOutputDir = "Output Directory not specified";
constexpr const char* kMissingOutputDir = "Output directory does not exist";
constexpr const char* kActivationFailed = "TTS Activation failed in Play";
constexpr const char* kInvalidFormat = "Invalid Audio Format specified";
constexpr const char* kVoiceNotEnabled = "Voice is not enabled";
constexpr const char* kDefaultVoiceVendor = "Cannot disable default voice";
constexpr const char* kDeviceCheckFailed =
    "Audio device check failed. \rVerify that the device you have selected is a valid audio "
    "device\r\rPlease contact Halvern Support if you're having problems";
constexpr const char* kTestSentence =
    "Thank you for choosing this voice to read your weather reports.";

// Enabled states per role, indexed by role: bit 0 idle, 1 paused, 2 speaking, 3 encoding.
constexpr uint8_t kRoleStates[] = {0b0001, 0b0100, 0b0010, 0b0110, 0b0100, 0b1110};

int StateBit(TtsState state) {
    switch (state) {
    case TtsState::Idle:
        return 0;
    case TtsState::Paused:
        return 1;
    case TtsState::Speaking:
        return 2;
    case TtsState::Encoding:
        return 3;
    }
    return 0;
}

// A stored value that cannot be used is shown and skipped, so that one bad line never stops
// all speech.
template <typename Step> void CarryOn(Step&& step) {
    try {
        step();
    } catch (const std::exception& error) {
        Log(std::string("Speech settings: ") + error.what());
        ShowMessage(error.what());
    }
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

} // namespace

TBaseTTS::TBaseTTS() : StopTimer(MakeTimer()), fileTimer_(MakeTimer()) {
    TTS.SetControlTags(TControlTags::ctTagged);
    TTS.OnWordPosition = [this](TTTS&, uint64_t, uint32_t byteOffset) {
        if (OnWordPosition)
            OnWordPosition(*this, static_cast<int>(byteOffset / 2), TextLength);
    };
    TTS.OnAudioStop = [this](TTTS&, uint64_t) { AudioStopHandler(); };
    TTS.OnMakeOtherDest = [this](TTTS&, std::unique_ptr<AudioOutput>& destination) {
        if (encoding_)
            destination = std::make_unique<TMP3Destination>(encoding_);
    };
    StopTimer->OnTimer = [this] {
        // The caller's end-of-speech handlers run from here; what they throw must not escape
        // into the event loop.
        try {
            AudioStopTimerHandler();
        } catch (const std::exception& error) {
            Log(std::string("End of speech handler failed: ") + error.what());
            ShowMessage(error.what());
        }
    };
    fileTimer_->OnTimer = [this] { TTS.DeliverEvents(); };
}

TBaseTTS::~TBaseTTS() {
    OnStateChange = nullptr;
    OnWordPosition = nullptr;
    OnDone = nullptr;
    Controls.clear(); // the caller's controls may be gone already
    MenuItems.clear();
    StopTimer->Stop();
    fileTimer_->Stop();
    // Leaving mid-utterance leaves no half-written file behind.
    if (TTS.Active())
        AbandonUtterance();
}

// Settings ------------------------------------------------------------------------------------

void TBaseTTS::Initialize(const TBaseRegistryClass& programSettings) {
    LoadSettings(programSettings);
    Voices.Clear();
    Engines.Clear();
    TVoiceEnumerator::Enumerate(Voices, Engines, *VoiceSettings);
    TVoiceList::RegisterUserVoices(*VoiceSettings);
    MP3Writer = std::make_unique<TMP3Class>(Engines.HasNaturalVoices());
    MP3Writer->OnProgress = progressHandler_;
    DeclareOnce(*VoiceSettings, kMP3Quality, RegScope::AppAndShared, RegType::String,
                MP3Writer->DefaultQuality());
    Engines.RegisterSettings(*VoiceSettings);
    VoiceSettings->LoadAll();
    LoadVoiceSettings();
    SettleMP3Quality();
    // Checked only now that the user-defined voices exist, so that one of them can stay the
    // default voice across restarts.
    SettleDefaultVoice();
}

void TBaseTTS::LoadSettings(const TBaseRegistryClass& programSettings) {
    if (!PreProcessor)
        PreProcessor = std::make_unique<TPreProcessor>();
    if (!VoiceSettings)
        VoiceSettings = std::make_unique<TBaseVoiceRegistryClass>(programSettings);
    Log("Base TTS Classes Version : " + VoiceSettings->VersionText());
    DeclareSettings(DefaultOutputDir());
    VoiceSettings->LoadAll();
    CopySettingsToFields();
    CarryOn([&] { PreProcessor->LoadSettings(*VoiceSettings); });
}

void TBaseTTS::DeclareSettings(const std::string& defaultOutputDir) {
    TBaseRegistryClass& settings = *VoiceSettings;
    DeclareOnce(settings, kHighlightWord, RegScope::App, RegType::Bool, false);
    DeclareOnce(settings, kDefaultVoiceID, RegScope::AppAndShared, RegType::String, "");
    DeclareOnce(settings, kOutputDir, RegScope::App, RegType::String, defaultOutputDir);
    DeclareOnce(settings, kOutputFormat, RegScope::App, RegType::String, kOutputFormatWav);
    DeclareOnce(settings, kAudioDeviceID, RegScope::AppAndShared, RegType::Int, -1);
    DeclareOnce(settings, kVoiceAssignment, RegScope::App, RegType::Int, 0);
    DeclareOnce(settings, kRealTime, RegScope::App, RegType::String, "10x");
    DeclareOnce(settings, kRealTimeValue, RegScope::App, RegType::Int, 2560);
}

void TBaseTTS::CopySettingsToFields() {
    const TBaseRegistryClass& settings = *VoiceSettings;
    HighlightWord = settings.GetValue(kHighlightWord).AsBool();
    DefaultVoiceID = settings.GetValue(kDefaultVoiceID).AsString();
    OutputDir = settings.GetValue(kOutputDir).AsString();
    CarryOn([&] { SetOutputFormat(settings.GetValue(kOutputFormat).AsString()); });
    AudioDeviceID = settings.GetValue(kAudioDeviceID).AsInt(-1);
    VoiceAssignment = static_cast<uint8_t>(settings.GetValue(kVoiceAssignment).AsInt(0));
    CarryOn([&] { SetRealTime(settings.GetValue(kRealTime).AsString()); });
    RealTimeValue = settings.GetValue(kRealTimeValue).AsInt(RealTimeValue);
}

void TBaseTTS::LoadVoiceSettings() {
    CarryOn([&] { Voices.LoadSettings(*VoiceSettings); });
    Engines.LoadSettings(*VoiceSettings);
    CarryOn([&] { Voices.LoadUserVoices(VoiceSettings->GetList(TVoiceList::kUserVoicesSetting)); });
}

void TBaseTTS::SettleMP3Quality() {
    std::string quality = VoiceSettings->GetValue(kMP3Quality).AsString();
    if (!MP3Writer->IsValidQuality(quality)) {
        quality = MP3Writer->DefaultQuality();
        VoiceSettings->SetValue(kMP3Quality, quality);
        VoiceSettings->SaveAll();
    }
    MP3Writer->SetQuality(quality);
}

void TBaseTTS::SettleDefaultVoice() {
    if (!Voices.Empty() && Voices.FindByID(DefaultVoiceID) == nullptr)
        DefaultVoiceID = Voices.IDAt(0);
}

bool TBaseTTS::SaveSettings() {
    if (!VoiceSettings)
        return false;
    TBaseRegistryClass& settings = *VoiceSettings;
    settings.SetValue(kHighlightWord, HighlightWord);
    settings.SetValue(kDefaultVoiceID, DefaultVoiceID);
    settings.SetValue(kOutputDir, OutputDir);
    settings.SetValue(kOutputFormat, outputFormat_);
    settings.SetValue(kAudioDeviceID, AudioDeviceID);
    settings.SetValue(kVoiceAssignment, static_cast<int32_t>(VoiceAssignment));
    settings.SetValue(kRealTime, RealTimeText());
    settings.SetValue(kRealTimeValue, RealTimeValue);
    Voices.SaveSettings(settings);
    Voices.SaveUserVoices(settings.GetList(TVoiceList::kUserVoicesSetting));
    PreProcessor->SaveSettings(settings);
    Engines.SaveSettings(settings);
    return settings.SaveAll();
}

// Speaking ------------------------------------------------------------------------------------

void TBaseTTS::Speak(std::string_view voiceName, std::string_view text) {
    TBaseVoiceClass* voice = Voices.FindByName(voiceName);
    SpeakWithVoice(voice != nullptr ? voice : DefaultVoice(), text);
}

void TBaseTTS::SpeakWithVoice(TBaseVoiceClass* voice, std::string_view text) {
    EngnOpen(voice);
    CloseOnAudioStop = true;
    try {
        SpeakText(text);
    } catch (...) {
        // Never leave the engine open (and every start control disabled) after a failure.
        AbandonUtterance();
        throw;
    }
}

TBaseVoiceClass* TBaseTTS::DefaultVoice() {
    TBaseVoiceClass* voice = nullptr;
    switch (VoiceAssignment) {
    case 1:
        voice = Voices.NextVoiceForLanguage(RotationLanguage);
        break;
    case 2:
        voice = Voices.RandomVoice();
        break;
    default:
        voice = Voices.FindByID(DefaultVoiceID);
        break;
    }
    if (voice == nullptr && !Voices.Empty())
        voice = &Voices[0];
    return voice;
}

bool TBaseTTS::EngnOpen(TBaseVoiceClass* voice) {
    Log("Entered EngnOpen : " + FileBase);
    CloseOnAudioStop = false;
    DeliverPendingFinish();
    stoppedWhileEncoding_ = false;
    if (!OutputToFile && AudioDevices::Count() == 0)
        throw EttsException(kNoSoundCard);
    if (TTS.Active())
        throw EttsException(kAlreadyActive);
    if (voice == nullptr)
        voice = DefaultVoice();
    if (voice == nullptr)
        throw EttsException(kNoVoice);
    if (OutputToFile)
        PrepareFileOutput();
    else
        PrepareSoundDevice();
    if (voice->Speed() < 1 || voice->Pitch() < 1 || voice->VolumeLeft() < 1) {
        Log("Loading defaults for voice: " + voice->Name);
        voice->LoadDefaultValues();
    }
    // Which voice speaks is the first question when a reading sounds wrong.
    Log("EngnOpen voice : " + voice->Name + " (" + voice->VoiceID + ")");
    ActivateEngine(*voice);
    ApplyVoiceAttributes(*voice);
    if (OutputToFile) {
        TTS.RealTimeSet(static_cast<uint16_t>(std::clamp(RealTimeValue, 1, 0xFFFF)));
        fileTimer_->Start(kFileTickMs);
    }
    CurrentVoice = voice;
    utteranceToFile_ = OutputToFile;
    Log("Exit EngnOpen");
    return true;
}

void TBaseTTS::PrepareSoundDevice() {
    encoding_.reset();
    TTS.SetOutputDest(TOutputDest::odAudioDevice);
    TTS.SetOutputFile("");
    // Device numbers follow the server's list, which changes as devices come and go: a device
    // that is gone gives way to the default output instead of silencing every reading.
    int device = AudioDeviceID;
    if (device < -1 || device >= AudioDevices::Count()) {
        Log("Audio device " + Decimal(device) + " is not there; using the default output");
        device = -1;
    }
    TTS.SetAudioDeviceID(device);
}

void TBaseTTS::PrepareFileOutput() {
    if (Trim(FileBase).empty())
        throw EttsException(kNoFileBase);
    std::string folder = Trim(OutputDir);
    if (folder.empty())
        throw EttsException(kNoOutputDir);
    if (folder.back() != '/')
        folder += '/';
    if (!IsFolder(folder))
        throw EttsException(kMissingOutputDir);
    OutputDir = folder;
    encoding_.reset();
    if (outputFormat_ == kOutputFormatMp3) {
        if (!MP3Writer)
            throw EttsException(kNotInitialised);
        MP3Writer->SetQuality(MP3Quality());
        encoding_ = std::make_shared<TMP3Encoding>(*MP3Writer, folder + OutputName(".mp3"));
        TTS.SetOutputDest(TOutputDest::odOther);
        TTS.SetOutputFile("");
    } else {
        TTS.SetOutputDest(TOutputDest::odFile);
        TTS.SetOutputFile(folder + OutputName(".wav"));
    }
}

std::string TBaseTTS::OutputName(const char* extension) const {
    return OutputFileName.empty() ? FileBase + extension : OutputFileName;
}

void TBaseTTS::ActivateEngine(const TBaseVoiceClass& voice) {
    try {
        TTS.SelectMode(voice.ModeID);
        TTS.SetActive(true);
    } catch (const ESpeechError&) {
        const std::string why = encoding_ ? encoding_->Failure() : std::string();
        encoding_.reset();
        if (!why.empty()) // the MP3 file could not be made: say so rather than blame a device
            throw EttsException(why);
        throw;
    }
    if (!TTS.Active()) {
        encoding_.reset();
        throw EttsException(kActivationFailed);
    }
}

// Values below 1 mean "the engine's default": the freshly opened engine has it already.
void TBaseTTS::ApplyVoiceAttributes(const TBaseVoiceClass& voice) {
    if (voice.Pitch() >= 1)
        TTS.SetPitch(voice.Pitch());
    if (voice.Speed() >= 1)
        TTS.SetSpeed(voice.Speed());
    if (voice.VolumeLeft() >= 1) {
        TTS.SetVolumeLeft(voice.VolumeLeft());
        TTS.SetVolumeRight(voice.VolumeLeft());
    }
}

void TBaseTTS::SpeakText(std::string_view text) {
    if (!TTS.Active())
        throw EttsException(kNotActive);
    if (!PreProcessor)
        throw EttsException(kNotInitialised);
    const TtsState before = state_;
    SetState(TtsState::Speaking);
    if (!TTS.Active())
        return; // stopped by a handler while the state changed; the stop has been reported
    const std::string processed = PreProcessor->Process(text);
    TextLength = static_cast<int>(TrimView(processed).size());
    try {
        TTS.Speak(processed);
    } catch (...) {
        SetState(before);
        throw;
    }
    RaiseStateChange(TtsState::Speaking, TtsReason::Started);
}

void TBaseTTS::EngnClose(bool finished) {
    Log("Entered EngnClose (1) : " + FileBase);
    if (!TTS.Active()) {
        SetState(TtsState::Idle);
        return;
    }
    Log("Entered EngnClose (2) : " + FileBase);
    fileTimer_->Stop();
    const bool closed = DeactivateEngine();
    CurrentVoice = nullptr;
    if (!closed)
        utteranceToFile_ = false; // the file was not made
    if (encoding_ && closed && AudioDone && finished)
        CompleteMP3();
    encoding_.reset();
    SetState(TtsState::Idle);
    ProcessMessages();
    Log("Exit EngnClose");
}

// The WAV file is complete once the engine is closed. A failure (a full disk) is shown; the
// utterance then produced no file.
bool TBaseTTS::DeactivateEngine() {
    try {
        TTS.SetActive(false);
        return true;
    } catch (const std::exception& error) {
        Log(std::string("Closing the speech engine failed: ") + error.what());
        ShowMessage(error.what());
        return false;
    }
}

void TBaseTTS::CompleteMP3() {
    SetState(TtsState::Encoding);
    if (encoding_)
        RaiseStateChange(TtsState::Encoding, TtsReason::Finished);
    if (!encoding_)
        return; // stopped by a handler
    try {
        if (MP3Writer->OnProgress) {
            const auto bytes = static_cast<int64_t>(encoding_->AddedFrames() * 2);
            MP3Writer->OnProgress(*MP3Writer, bytes, bytes);
        }
        encoding_->Finish();
        Log("MP3 file complete: " + encoding_->Path());
    } catch (const std::exception& error) {
        Log(std::string("MP3 file not made: ") + error.what());
        ShowMessage(error.what());
        utteranceToFile_ = false; // no file to report
    }
}

void TBaseTTS::Stop() {
    if (state_ == TtsState::Encoding) {
        encoding_.reset(); // the MP3 is dropped unfinished; an earlier file stays
        stoppedWhileEncoding_ = true;
        utteranceToFile_ = false;
        SetState(TtsState::Idle);
        RaiseStateChange(TtsState::Idle, TtsReason::Stopped);
        return;
    }
    if (!TTS.Active())
        return; // nothing is being spoken (a finished utterance still reports its end)
    TTS.AudioReset();
    AbandonUtterance();
    RaiseStateChange(TtsState::Idle, TtsReason::Stopped);
    if (OnDone)
        OnDone(*this, TtsReason::Stopped, "");
}

// Closes the engine without completing anything. The partial file is dropped, never the
// user's earlier file of the same name: files are written beside their name until complete.
void TBaseTTS::AbandonUtterance() {
    fileTimer_->Stop();
    encoding_.reset();
    if (TTS.Active())
        Log("Dropped the unfinished output of " + FileBase);
    TTS.Abandon();
    CurrentVoice = nullptr;
    utteranceToFile_ = false;
    EngnClose(false);
}

void TBaseTTS::TogglePause() {
    if (!TTS.Active() || (state_ != TtsState::Speaking && state_ != TtsState::Paused))
        return;
    const bool paused = !TTS.AudioPaused();
    TTS.SetAudioPaused(paused);
    const TtsState state = paused ? TtsState::Paused : TtsState::Speaking;
    SetState(state);
    RaiseStateChange(state, TtsReason::PauseToggled);
}

// Events --------------------------------------------------------------------------------------

void TBaseTTS::AudioStopHandler() {
    Log("Entered AudioStopHandler");
    if (TTS.AudioPaused()) {
        SetState(TtsState::Paused);
        return;
    }
    AudioDone = true;
    stoppedWhileEncoding_ = false;
    if (CloseOnAudioStop)
        EngnClose(true);
    if (OnDone || OnStateChange) {
        Log("Setting AudioStopHandler Timer");
        StopTimer->Start(kStopTimerMs);
    } else {
        SetState(TtsState::Idle);
    }
    Log("Exit AudioStopHandler");
}

void TBaseTTS::AudioStopTimerHandler() {
    Log("Entered AudioStopTimerHandler");
    StopTimer->Stop();
    SetState(TtsState::Idle);
    // A conversion that Stop ended has reported the stop already; what is left to say is that
    // the utterance is over, without a file.
    const bool stopped = std::exchange(stoppedWhileEncoding_, false);
    if (!stopped)
        RaiseStateChange(TtsState::Idle, TtsReason::Finished);
    if (OnDone) {
        Log("Invoking TTS Done event handler");
        const std::string fileBase = utteranceToFile_ && !stopped ? FileBase : std::string();
        OnDone(*this, stopped ? TtsReason::Stopped : TtsReason::Finished, fileBase);
    }
    Log("Exit AudioStopTimerHandler");
}

// A new utterance first lets the previous one report its end, so that no caller misses it and
// the old timer cannot end the new utterance.
void TBaseTTS::DeliverPendingFinish() {
    if (StopTimer->IsActive())
        AudioStopTimerHandler();
}

void TBaseTTS::SetState(TtsState state) {
    state_ = state;
    if (state == TtsState::Speaking)
        AudioDone = false;
    UpdateControls();
    ProcessMessages();
}

void TBaseTTS::RaiseStateChange(TtsState state, TtsReason reason) {
    if (OnStateChange)
        OnStateChange(*this, state, reason);
}

// Controls ------------------------------------------------------------------------------------

bool TBaseTTS::RoleEnabled(int role, TtsState state) {
    if (role < 0 || role >= static_cast<int>(std::size(kRoleStates)))
        return false;
    return (kRoleStates[role] >> StateBit(state)) & 1;
}

void TBaseTTS::UpdateControls() {
    for (const TttsControl& control : Controls)
        control.Control->SetEnabled(RoleEnabled(control.Role, state_));
    for (const TttsMenuItem& item : MenuItems)
        item.Control->SetEnabled(RoleEnabled(item.Role, state_));
}

void TBaseTTS::AddControl(int role, TttsSwitch& control) {
    Controls.push_back(TttsControl{role, &control});
    control.SetEnabled(RoleEnabled(role, state_));
}

void TBaseTTS::AddMenuItem(int role, TttsSwitch& menuItem) {
    MenuItems.push_back(TttsMenuItem{role, &menuItem});
    menuItem.SetEnabled(RoleEnabled(role, state_));
}

// Output options ------------------------------------------------------------------------------

void TBaseTTS::SetFileBase(std::string_view name) {
    const size_t slash = name.find_last_of('/');
    std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    FileBase = std::string(base.substr(0, base.find('.')));
}

void TBaseTTS::SetOutputFormat(std::string_view name) {
    for (const std::string& format : OutputFormats) {
        if (SameText(format, name)) {
            outputFormat_ = format;
            return;
        }
    }
    throw EttsException(kInvalidFormat);
}

void TBaseTTS::SetRealTime(std::string_view text) {
    std::string number(text);
    const size_t x = number.find('x');
    if (x != std::string::npos)
        number.erase(x, 1);
    RealTimeValue = Number(number) * kRealTimeUnit;
}

std::string TBaseTTS::RealTimeText() const {
    return Decimal(RealTimeValue / kRealTimeUnit) + "x";
}

void TBaseTTS::RealTimeChoices(std::vector<std::string>& list) {
    for (int factor = 5; factor <= 50; factor += 5)
        list.push_back(Decimal(factor) + "x");
}

// "MP3_Quality" is declared by Initialize, together with the MP3 writer.
void TBaseTTS::SetMP3Quality(const std::string& quality) {
    if (MP3Writer)
        VoiceSettings->SetValue(kMP3Quality, quality);
}

std::string TBaseTTS::MP3Quality() const {
    return MP3Writer ? VoiceSettings->GetValue(kMP3Quality).AsString() : std::string();
}

void TBaseTTS::SetEncodeProgressHandler(TProgressEvent handler) {
    progressHandler_ = std::move(handler);
    if (MP3Writer)
        MP3Writer->OnProgress = progressHandler_;
}

// Voices --------------------------------------------------------------------------------------

std::string TBaseTTS::DefaultVoiceName() const {
    const TBaseVoiceClass* voice = Voices.FindByID(DefaultVoiceID);
    return voice != nullptr ? voice->Name : std::string();
}

void TBaseTTS::SetDefaultVoice(std::string_view voiceName) {
    const TBaseVoiceClass* voice = Voices.FindByName(voiceName);
    if (voice == nullptr || !voice->Enabled())
        throw EttsException(kVoiceNotEnabled);
    DefaultVoiceID = voice->VoiceID;
}

void TBaseTTS::EnableVendor(std::string_view vendor, TEngineList& engines, TVoiceList& voices) {
    engines.EnableVendor(vendor);
    voices.EnableVendor(vendor);
}

void TBaseTTS::DisableVendor(std::string_view vendor, TEngineList& engines, TVoiceList& voices,
                             const TBaseVoiceClass* voice) const {
    const std::string& defaultId = voice != nullptr ? voice->VoiceID : DefaultVoiceID;
    for (size_t i = 0; i < voices.Count(); ++i) {
        const TBaseVoiceClass& each = voices[i];
        if (each.Engine != nullptr && each.Engine->Vendor == vendor && each.VoiceID == defaultId)
            throw EttsException(kDefaultVoiceVendor);
    }
    engines.DisableVendor(vendor);
    voices.DisableVendor(vendor);
}

std::string TBaseTTS::TestText(int32_t) {
    return kTestSentence;
}

// Sound device --------------------------------------------------------------------------------

bool TBaseTTS::ChooseAudioDevice() {
    if (!OnChooseAudioDevice)
        return false;
    const std::optional<int> chosen = OnChooseAudioDevice(AudioDeviceID);
    if (!chosen || !TestAudioDevice(*chosen))
        return false;
    AudioDeviceID = *chosen;
    SaveSettings();
    return true;
}

bool TBaseTTS::TestAudioDevice(int device) {
    const int rememberedDevice = TTS.AudioDeviceID();
    const TOutputDest rememberedDest = TTS.OutputDest();
    bool passed = false;
    try {
        if (TTS.Active())
            throw EttsException(kAlreadyActive);
        TTS.SetOutputDest(TOutputDest::odAudioDevice);
        TTS.SetAudioDeviceID(device);
        TTS.SetActive(true);
        TTS.SetActive(false);
        passed = true;
    } catch (const std::exception& error) {
        Log(std::string("Audio device check failed: ") + error.what());
    }
    if (!TTS.Active()) {
        TTS.SetOutputDest(rememberedDest);
        try {
            TTS.SetAudioDeviceID(rememberedDevice);
        } catch (const ESpeechError&) {
            TTS.SetAudioDeviceID(-1); // that device has gone meanwhile
        }
    }
    if (!passed)
        ShowMessage(kDeviceCheckFailed);
    return passed;
}

} // namespace olv
