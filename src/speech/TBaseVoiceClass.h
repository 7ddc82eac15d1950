#pragma once

#include "speech/TGUID.h"

#include <string>
#include <string_view>

namespace olv {

class TBaseEngineClass;

// One voice the user can choose: a mode of a recognised engine (Engine set), or a user-defined
// voice that reuses the mode of another voice (BaseVoiceID set, no Engine) under its own name,
// pitch and speed.
//
// Pitch, speed and volume below 1 mean "the engine's default"; LoadDefaultValues replaces them
// by the defaults the mode reports. Limits of -1 are not known yet (LoadDefaultValues reads
// them; it opens the mode on a speech component of its own, without a sound device).
//
// Persistence (the speech settings object, see TVoiceList): "VCE_" + VoiceID holds
// "Enabled,Speed,Pitch,VolumeLeft" for an engine voice; a user-defined voice is one "UDV"
// line "Name|Speaker|BaseVoiceID|True|Pitch|Speed".
class TBaseVoiceClass {
public:
    TBaseVoiceClass() = default;
    TBaseVoiceClass(const TBaseVoiceClass&) = delete;
    TBaseVoiceClass& operator=(const TBaseVoiceClass&) = delete;

    std::string Name;        // what the user sees: "English (Great Britain) (UK English)"
    std::string Speaker;     // the mode's speaker name
    std::string VoiceID;     // unique; IdPrefix + Speaker + LanguageID, or "User-" + line
    std::string BaseVoiceID; // a user-defined voice's base voice; empty for engine voices
    TGUID ModeID;            // the mode to select for this voice
    TBaseEngineClass* Engine = nullptr; // not owned; null for a user-defined voice

    int MinPitch = -1, MaxPitch = -1, DefaultPitch = -1;
    int MinSpeed = -1, MaxSpeed = -1, DefaultSpeed = -1;
    int MinVolumeLeft = -1, MaxVolumeLeft = -1, DefaultVolumeLeft = -1;
    int MinVolumeRight = -1, MaxVolumeRight = -1, DefaultVolumeRight = -1;

    int Pitch() const { return pitch_; }
    int Speed() const { return speed_; }
    int VolumeLeft() const { return volumeLeft_; }
    int VolumeRight() const { return volumeRight_; }
    // The voice takes part in round robin and random choice.
    bool Enabled() const { return enabled_; }

    // The volume range over both channels: the larger minimum, and the smaller maximum (a
    // channel whose maximum is 0 has none, so the other's counts).
    int MinVolume() const;
    int MaxVolume() const;

    // Range-checked: a value below the minimum, or above a known maximum, throws
    // EVoiceException ("Minimum pitch for this voice is 1", "Maximum Speed for this voice is
    // 450") and logs the attempt; the value stays as it was.
    void SetPitch(int value);
    void SetSpeed(int value);
    // Checks against both channels' limits and stores the value in each channel that has one
    // (maximum above 0, or not known yet).
    void SetVolume(int value);
    // Unchecked: "Pitch", "Speed" or "Volume" (both channels); other names are ignored.
    void SetValueByName(std::string_view name, int value);
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // While the limits are not known: reads limits and defaults from the mode, and replaces a
    // pitch, speed or volume below 1 by its default. Throws ESpeechError when the mode cannot
    // be opened.
    void LoadDefaultValues();
    // The engine defaults for pitch, speed and volume (loading the limits first if needed).
    void ResetToDefaults();
    // Copies the texts, Engine, Enabled, ModeID, limits and defaults; pitch, speed and volume
    // go through the range-checked setters (a value below 1, "engine default", is copied as
    // it is).
    void Assign(const TBaseVoiceClass& other);

    // Copies the limits and defaults: all of them, or those a user-defined voice takes from
    // its base voice.
    void CopyLimits(const TBaseVoiceClass& other);
    void CopyPitchAndSpeedLimits(const TBaseVoiceClass& other);

    // True for a user-defined voice (BaseVoiceID not blank).
    bool IsUserVoice() const;

    // "VCE_" + VoiceID.
    std::string SettingName() const { return "VCE_" + VoiceID; }
    // "1,0,0,-1" or "0,0,0,-1": what a voice never saved holds.
    static std::string DefaultSettingText(bool enabled);
    // "Enabled,Speed,Pitch,VolumeLeft", enabled as 1 or 0.
    std::string SettingText() const;
    // Applies such a text (SetEnabled, then unchecked Speed, Pitch, Volume). Throws
    // EConvertError ("'x' is not a valid integer value") for a missing or non-numeric field,
    // leaving the voice unchanged.
    void ApplySettingText(std::string_view text);
    // "Name|Speaker|BaseVoiceID|True|Pitch|Speed".
    std::string UserVoiceLine() const;

private:
    bool LimitsKnown() const;

    int pitch_ = -1;
    int speed_ = -1;
    int volumeLeft_ = 0;
    int volumeRight_ = 0;
    bool enabled_ = false;
};

} // namespace olv
