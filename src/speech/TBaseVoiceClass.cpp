#include "speech/TBaseVoiceClass.h"

#include "speech/EVoiceException.h"
#include "speech/FastStrings.h"
#include "speech/ModeAttributeReader.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <algorithm>

namespace olv {
namespace {

// How an attribute is named in the log ("pitch") and to the user ("Speed").
struct AttributeNames {
    const char* InLog;
    const char* ToUser;
};
constexpr AttributeNames kPitch{"pitch", "pitch"};
constexpr AttributeNames kSpeed{"speed", "Speed"};
constexpr AttributeNames kVolume{"volume", "Volume"};

[[noreturn]] void Refuse(const AttributeNames& names, int value, const std::string& bound,
                         int limit) {
    Log(std::string("Exception setting ") + names.InLog + " to " + Decimal(value));
    Log(bound + " value is " + Decimal(limit));
    throw EVoiceException(bound + " " + names.ToUser + " for this voice is " + Decimal(limit));
}

void CheckRange(const AttributeNames& names, int value, int min, int max) {
    if (value < min)
        Refuse(names, value, "Minimum", min);
    if (max != -1 && value > max)
        Refuse(names, value, "Maximum", max);
}

std::string Triple(int min, int max, int value) {
    return Decimal(min) + " " + Decimal(max) + " " + Decimal(value);
}

// The mode's current value is the voice's default.
void Take(const AttributeRange& range, int& min, int& max, int& byDefault) {
    min = range.Min;
    max = range.Max;
    byDefault = range.Current;
}

// A channel takes a volume when it has one (maximum above 0) or its limits are not known.
bool TakesVolume(int max) {
    return max > 0 || max == -1;
}

} // namespace

int TBaseVoiceClass::MinVolume() const {
    return std::max(MinVolumeLeft, MinVolumeRight);
}

int TBaseVoiceClass::MaxVolume() const {
    if (MaxVolumeLeft == 0)
        return MaxVolumeRight;
    if (MaxVolumeRight == 0)
        return MaxVolumeLeft;
    return std::min(MaxVolumeLeft, MaxVolumeRight);
}

void TBaseVoiceClass::SetPitch(int value) {
    CheckRange(kPitch, value, MinPitch, MaxPitch);
    pitch_ = value;
}

void TBaseVoiceClass::SetSpeed(int value) {
    CheckRange(kSpeed, value, MinSpeed, MaxSpeed);
    speed_ = value;
}

void TBaseVoiceClass::SetVolume(int value) {
    if (value < MinVolume())
        Refuse(kVolume, value, "Minimum", MinVolume());
    for (int max : {MaxVolumeLeft, MaxVolumeRight})
        if (max >= 1 && value > max)
            Refuse(kVolume, value, "Maximum", max);
    if (TakesVolume(MaxVolumeLeft))
        volumeLeft_ = value;
    if (TakesVolume(MaxVolumeRight))
        volumeRight_ = value;
}

void TBaseVoiceClass::SetValueByName(std::string_view name, int value) {
    if (name == "Pitch") {
        pitch_ = value;
    } else if (name == "Speed") {
        speed_ = value;
    } else if (name == "Volume") {
        volumeLeft_ = value;
        volumeRight_ = value;
    }
}

bool TBaseVoiceClass::LimitsKnown() const {
    // A user-defined voice inherits only its base voice's pitch and speed limits.
    return MinPitch != -1 && MinVolumeLeft != -1;
}

void TBaseVoiceClass::LoadDefaultValues() {
    if (LimitsKnown())
        return;
    const ModeAttributes found = ModeAttributeReader::Read(ModeID);
    Take(found.Pitch, MinPitch, MaxPitch, DefaultPitch);
    Take(found.Speed, MinSpeed, MaxSpeed, DefaultSpeed);
    Take(found.VolumeLeft, MinVolumeLeft, MaxVolumeLeft, DefaultVolumeLeft);
    Take(found.VolumeRight, MinVolumeRight, MaxVolumeRight, DefaultVolumeRight);
    Log("LoadDefaultValues: " + Name);
    Log("Min/Max/Dflt Pitch: " + Triple(MinPitch, MaxPitch, DefaultPitch));
    Log("Min/Max/Dflt Speed: " + Triple(MinSpeed, MaxSpeed, DefaultSpeed));
    Log("Min/Max/Dflt VolumeL: " + Triple(MinVolumeLeft, MaxVolumeLeft, DefaultVolumeLeft));
    Log("Min/Max/Dflt VolumeR: " + Triple(MinVolumeRight, MaxVolumeRight, DefaultVolumeRight));
    Log("Self.Pitch/Speed/Volume: " + Triple(pitch_, speed_, volumeLeft_));
    if (pitch_ < 1)
        SetPitch(DefaultPitch);
    if (speed_ < 1)
        SetSpeed(DefaultSpeed);
    if (volumeLeft_ < 1)
        SetVolume(DefaultVolumeLeft);
}

void TBaseVoiceClass::ResetToDefaults() {
    LoadDefaultValues();
    SetPitch(DefaultPitch);
    SetSpeed(DefaultSpeed);
    SetVolume(DefaultVolumeLeft);
}

void TBaseVoiceClass::Assign(const TBaseVoiceClass& other) {
    if (&other == this)
        return;
    Name = other.Name;
    Speaker = other.Speaker;
    VoiceID = other.VoiceID;
    BaseVoiceID = other.BaseVoiceID;
    Engine = other.Engine;
    enabled_ = other.enabled_;
    ModeID = other.ModeID;
    CopyLimits(other);
    // "Engine default" is below every minimum, yet no fault of the voice being copied.
    if (other.pitch_ < 1)
        pitch_ = other.pitch_;
    else
        SetPitch(other.pitch_);
    if (other.speed_ < 1)
        speed_ = other.speed_;
    else
        SetSpeed(other.speed_);
    if (other.volumeLeft_ < 1)
        SetValueByName("Volume", other.volumeLeft_);
    else
        SetVolume(other.volumeLeft_);
}

void TBaseVoiceClass::CopyLimits(const TBaseVoiceClass& other) {
    CopyPitchAndSpeedLimits(other);
    MinVolumeLeft = other.MinVolumeLeft;
    MaxVolumeLeft = other.MaxVolumeLeft;
    DefaultVolumeLeft = other.DefaultVolumeLeft;
    MinVolumeRight = other.MinVolumeRight;
    MaxVolumeRight = other.MaxVolumeRight;
    DefaultVolumeRight = other.DefaultVolumeRight;
}

void TBaseVoiceClass::CopyPitchAndSpeedLimits(const TBaseVoiceClass& other) {
    MinPitch = other.MinPitch;
    MaxPitch = other.MaxPitch;
    DefaultPitch = other.DefaultPitch;
    MinSpeed = other.MinSpeed;
    MaxSpeed = other.MaxSpeed;
    DefaultSpeed = other.DefaultSpeed;
}

bool TBaseVoiceClass::IsUserVoice() const {
    return !TrimView(BaseVoiceID).empty();
}

std::string TBaseVoiceClass::DefaultSettingText(bool enabled) {
    return enabled ? "1,0,0,-1" : "0,0,0,-1";
}

std::string TBaseVoiceClass::SettingText() const {
    return std::string(enabled_ ? "1" : "0") + "," + Decimal(speed_) + "," + Decimal(pitch_) + "," +
           Decimal(volumeLeft_);
}

void TBaseVoiceClass::ApplySettingText(std::string_view text) {
    std::string rest(text);
    const int32_t enabled = Number(NextToken(rest, ","));
    const int32_t speed = Number(NextToken(rest, ","));
    const int32_t pitch = Number(NextToken(rest, ","));
    const int32_t volume = Number(NextToken(rest, ","));
    SetEnabled(enabled != 0);
    SetValueByName("Speed", speed);
    SetValueByName("Pitch", pitch);
    SetValueByName("Volume", volume);
}

std::string TBaseVoiceClass::UserVoiceLine() const {
    return Name + "|" + Speaker + "|" + BaseVoiceID + "|" + (enabled_ ? "True" : "False") + "|" +
           Decimal(pitch_) + "|" + Decimal(speed_);
}

} // namespace olv
