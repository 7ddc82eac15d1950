#pragma once

#include "audio/TAudioFileClass.h"
#include "speech/TEngineList.h"
#include "speech/TTTS.h"
#include "speech/TVoiceList.h"
#include "speech/TttsControl.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

class TBaseRegistryClass;
class TBaseVoiceClass;
class TBaseVoiceRegistryClass;
class TMP3Class;
class TMP3Encoding;
class TPreProcessor;
class Timer;

enum class TtsState : uint8_t { Idle = 0, Paused = 1, Speaking = 2, Encoding = 4 };

// Why OnStateChange or OnDone was raised.
enum class TtsReason : uint8_t { Started = 0, PauseToggled = 3, Stopped = 5, Finished = 6 };

// The speech controller: the one object through which the program speaks. It opens an engine
// for a voice, speaks a text to the sound device or renders it to a WAV or MP3 file in the
// output folder, keeps a small state machine (idle, speaking, paused, encoding), enables the
// caller's controls by their roles, and reports word positions, state changes and the end of
// each utterance through its events. Each utterance opens the engine and closes it when its
// audio ends or on Stop.
//
// Typical use (the main window):
//   TBaseTTS speech;
//   speech.OnDone = ...;               // end of speech: the next reading
//   speech.Initialize(settings);       // settings, voices, pre-processor, MP3 writer
//   speech.AddControl(0, readButton);  // enabled while idle
//   speech.Speak("", reportText);      // the default voice; returns at once
//
// MP3 output is encoded while the speech is synthesised: no WAV file is made first. A file
// appears only when the utterance finishes; Stop drops what was rendered and leaves an earlier
// file of that name as it was.
//
// Everything runs on the main thread. The speech component's notifications and the 100 ms stop
// timer arrive through the platform's timers; SetState and EngnClose let pending messages run,
// so the caller's handlers may run inside them.
class TBaseTTS {
public:
    static constexpr const char* kOutputFormatWav = "Wav";
    static constexpr const char* kOutputFormatMp3 = "MP3";
    static constexpr int kStopTimerMs = 100;
    // How often file output collects the engine's progress: files are made as fast as the
    // engine and the encoder can go, not at the pace of a sound device.
    static constexpr int kFileTickMs = 5;
    static constexpr int kRealTimeUnit = 256;

    TBaseTTS();
    TBaseTTS(const TBaseTTS&) = delete;
    TBaseTTS& operator=(const TBaseTTS&) = delete;
    ~TBaseTTS();

    // Settings --------------------------------------------------------------------------------
    // Loads the speech settings (in the program settings' store, application key + "\BaseTTS"),
    // enumerates the voices and engines, and prepares the pre-processor and the MP3 writer.
    // A damaged stored value is shown (ShowMessage) and skipped, never fatal.
    void Initialize(const TBaseRegistryClass& programSettings);
    void LoadSettings(const TBaseRegistryClass& programSettings);
    // Stores every setting, the voices, engines and pre-processor lists, and writes them.
    // False when they could not be written (the user has been told).
    bool SaveSettings();

    // Speaking --------------------------------------------------------------------------------
    // The voice with that Name (else DefaultVoice): EngnOpen, close on audio stop, SpeakText.
    // On failure the engine is closed again and the exception passed on.
    void Speak(std::string_view voiceName, std::string_view text);
    void SpeakWithVoice(TBaseVoiceClass* voice, std::string_view text);
    // Opens the engine for voice (null: DefaultVoice) on the sound device or, when
    // OutputToFile, on OutputDir + FileBase + ".wav" / ".mp3" (or OutputDir + OutputFileName).
    // Throws EttsException.
    bool EngnOpen(TBaseVoiceClass* voice);
    // Pre-processes text and hands it to the open engine. Throws EttsException when the
    // engine is not open, or what the engine throws (the state is then as it was).
    void SpeakText(std::string_view text);
    // Closes the engine; a finished MP3 utterance is completed (state encoding meanwhile).
    void EngnClose(bool finished);
    void Stop();
    void TogglePause();
    bool IsBusy() const { return state_ != TtsState::Idle; }
    bool IsPaused() const { return state_ == TtsState::Paused; }
    // The last utterance went to a file, ended and the file is complete (for callers that
    // wait for the idle state rather than for OnDone).
    bool FileMade() const { return !IsBusy() && utteranceToFile_; }
    TtsState State() const { return state_; }
    // By VoiceAssignment: the default voice, the next one of RotationLanguage, or a random
    // one; the first voice when that gives none; null when there are no voices.
    TBaseVoiceClass* DefaultVoice();

    // Output options --------------------------------------------------------------------------
    // FileBase = the file-name part of name, up to its first ".".
    void SetFileBase(std::string_view name);
    // "Wav" or "MP3", in any case; otherwise EttsException "Invalid Audio Format specified".
    void SetOutputFormat(std::string_view name);
    const std::string& OutputFormat() const { return outputFormat_; }
    // "15x" gives 3840; RealTimeText of 3000 is "11x". Throws EConvertError for a non-number.
    void SetRealTime(std::string_view text);
    std::string RealTimeText() const;
    static void RealTimeChoices(std::vector<std::string>& list);
    // Stores "MP3_Quality" (used from the next MP3 utterance on).
    void SetMP3Quality(const std::string& quality);
    std::string MP3Quality() const;
    void SetEncodeProgressHandler(TProgressEvent handler);

    // Voices ----------------------------------------------------------------------------------
    std::string DefaultVoiceName() const;
    // Throws EttsException "Voice is not enabled" for a voice that is not enabled or not there.
    void SetDefaultVoice(std::string_view voiceName);
    static void EnableVendor(std::string_view vendor, TEngineList& engines, TVoiceList& voices);
    // Throws EttsException "Cannot disable default voice" when voice (null: the default voice)
    // is one of the vendor's voices in voices.
    void DisableVendor(std::string_view vendor, TEngineList& engines, TVoiceList& voices,
                       const TBaseVoiceClass* voice) const;
    // The sentence the voice dialog's test speaks; the same for every language.
    static std::string TestText(int32_t languageId);

    // Sound device ----------------------------------------------------------------------------
    // Asks OnChooseAudioDevice for a device; when one is chosen and TestAudioDevice passes,
    // stores it and saves the settings. True when the device was changed.
    bool ChooseAudioDevice();
    // Opens and closes the engine on device; false (after showing why) when that fails.
    bool TestAudioDevice(int device);

    // Controls --------------------------------------------------------------------------------
    void AddControl(int role, TttsSwitch& control);
    void AddMenuItem(int role, TttsSwitch& menuItem);
    // Whether a control of role is enabled in state.
    static bool RoleEnabled(int role, TtsState state);

    // Owned objects and fields ----------------------------------------------------------------
    TTTS TTS;
    TEngineList Engines; // before Voices: the voices point at these engines
    TVoiceList Voices;
    std::unique_ptr<TPreProcessor> PreProcessor;
    std::unique_ptr<TMP3Class> MP3Writer;
    std::unique_ptr<TBaseVoiceRegistryClass> VoiceSettings;
    TBaseVoiceClass* CurrentVoice = nullptr; // voice of the open engine

    bool OutputToFile = false;
    std::string FileBase;
    // The output file's name in OutputDir when it is not FileBase with the format's extension
    // (a name the user gave on the command line); empty otherwise.
    std::string OutputFileName;
    std::string OutputDir;
    const std::vector<std::string> OutputFormats{kOutputFormatWav, kOutputFormatMp3};
    std::string DefaultVoiceID;
    uint8_t VoiceAssignment = 0; // 0 the default voice, 1 round robin, 2 random
    std::string RotationLanguage = "US English";
    int AudioDeviceID = -1;
    int RealTimeValue = 2560;
    bool HighlightWord = false;
    int TextLength = 0;
    bool CloseOnAudioStop = false;
    bool AudioDone = false;
    std::vector<TttsControl> Controls;
    std::vector<TttsMenuItem> MenuItems;
    std::unique_ptr<Timer> StopTimer;

    // Events ----------------------------------------------------------------------------------
    std::function<void(TBaseTTS& sender, TtsState state, TtsReason reason)> OnStateChange;
    std::function<void(TBaseTTS& sender, int position, int textLength)> OnWordPosition;
    // fileBase: FileBase when the utterance went to a file and the file was made, else "".
    std::function<void(TBaseTTS& sender, TtsReason reason, const std::string& fileBase)> OnDone;
    // The audio device dialog: given the current device, the chosen one, or none on Cancel.
    std::function<std::optional<int>(int currentDevice)> OnChooseAudioDevice;

private:
    void SetState(TtsState state);
    void RaiseStateChange(TtsState state, TtsReason reason);
    void UpdateControls();
    void AudioStopHandler();
    void AudioStopTimerHandler();
    void DeliverPendingFinish();

    void DeclareSettings(const std::string& defaultOutputDir);
    void CopySettingsToFields();
    void LoadVoiceSettings();
    void SettleMP3Quality();
    void SettleDefaultVoice();

    void PrepareSoundDevice();
    void PrepareFileOutput();
    void ActivateEngine(const TBaseVoiceClass& voice);
    void ApplyVoiceAttributes(const TBaseVoiceClass& voice);
    bool DeactivateEngine();
    void CompleteMP3();
    void AbandonUtterance();
    std::string OutputName(const char* extension) const;

    TtsState state_ = TtsState::Idle;
    std::string outputFormat_ = kOutputFormatWav;
    TProgressEvent progressHandler_;
    std::unique_ptr<Timer> fileTimer_;
    std::shared_ptr<TMP3Encoding> encoding_; // the MP3 of the utterance in progress
    bool utteranceToFile_ = false;           // the open (or last) utterance went to a file
    bool stoppedWhileEncoding_ = false;
};

} // namespace olv
