#include "speech/TVoiceList.h"

#include "settings/TBaseRegistryClass.h"
#include "speech/DeclareOnce.h"
#include "speech/FastStrings.h"
#include "speech/TBaseEngineClass.h"
#include "speech/TEngineList.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <algorithm>

namespace olv {

TVoiceList::TVoiceList() : random_(std::random_device{}()) {}

TBaseVoiceClass& TVoiceList::Add(std::unique_ptr<TBaseVoiceClass> voice) {
    voices_.push_back(std::move(voice));
    return *voices_.back();
}

void TVoiceList::Clear() {
    subset_.Clear();
    voices_.clear();
    cursor_ = -1;
}

TBaseVoiceClass* TVoiceList::FindByName(std::string_view name) const {
    for (const auto& voice : voices_)
        if (voice->Name == name)
            return voice.get();
    return nullptr;
}

TBaseVoiceClass* TVoiceList::FindByID(std::string_view voiceId) const {
    for (const auto& voice : voices_)
        if (voice->VoiceID == voiceId)
            return voice.get();
    return nullptr;
}

// ---- settings ------------------------------------------------------------------------------

void TVoiceList::LoadSettings(const TBaseRegistryClass& settings) {
    for (const auto& voice : voices_)
        if (!voice->IsUserVoice())
            voice->ApplySettingText(settings.GetValue(voice->SettingName()).AsString());
}

void TVoiceList::SaveSettings(TBaseRegistryClass& settings) const {
    for (const auto& voice : voices_)
        if (!voice->IsUserVoice())
            settings.SetValue(voice->SettingName(), voice->SettingText());
}

void TVoiceList::RegisterUserVoices(TBaseRegistryClass& settings) {
    DeclareOnce(settings, kUserVoicesSetting, RegScope::App, RegType::List, {});
}

std::unique_ptr<TBaseVoiceClass> TVoiceList::ParseUserVoice(const std::string& line,
                                                            size_t index) const {
    auto voice = std::make_unique<TBaseVoiceClass>();
    std::string rest = line;
    voice->Name = NextToken(rest, "|");
    voice->Speaker = NextToken(rest, "|");
    voice->BaseVoiceID = NextToken(rest, "|");
    voice->VoiceID = "User-" + Decimal(static_cast<int64_t>(index));
    voice->SetEnabled(NextToken(rest, "|") == "True");
    voice->SetValueByName("Pitch", Number(NextToken(rest, "|")));
    voice->SetValueByName("Speed", Number(NextToken(rest, "|")));
    return voice;
}

void TVoiceList::LoadUserVoices(const std::vector<std::string>& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
        auto voice = ParseUserVoice(lines[i], i);
        const TBaseVoiceClass* base = FindByID(voice->BaseVoiceID);
        if (base == nullptr) {
            Log("User voice " + voice->Name + " dropped: no voice " + voice->BaseVoiceID);
            continue;
        }
        voice->ModeID = base->ModeID;
        voice->CopyPitchAndSpeedLimits(*base);
        Add(std::move(voice));
    }
    userVoiceLines_ = lines.size();
}

void TVoiceList::SaveUserVoices(std::vector<std::string>& lines) const {
    lines.clear();
    for (const auto& voice : voices_)
        if (voice->IsUserVoice())
            lines.push_back(voice->UserVoiceLine());
}

// ---- choosing a voice ----------------------------------------------------------------------

TBaseVoiceClass* TVoiceList::NextVoiceForLanguage(std::string_view language) {
    const int count = static_cast<int>(voices_.size());
    if (cursor_ < 0 || cursor_ >= count - 1)
        cursor_ = -1;
    for (int step = 0; step < count; ++step) {
        cursor_ = (cursor_ + 1) % count;
        const TBaseVoiceClass& voice = *voices_[cursor_];
        if (voice.Enabled() && voice.Engine != nullptr && voice.Engine->Language == language)
            return voices_[cursor_].get();
    }
    return nullptr;
}

TBaseVoiceClass* TVoiceList::RandomVoice() {
    // Rebuilt every time: voices may have been disabled or replaced since the last choice.
    subset_.Rebuild();
    if (subset_.Empty())
        return nullptr;
    std::uniform_int_distribution<size_t> pick(0, subset_.Count() - 1);
    return &subset_[pick(random_)];
}

// ---- vendors -------------------------------------------------------------------------------

void TVoiceList::SetVendorEnabled(std::string_view vendor, bool enabled) {
    for (const auto& voice : voices_)
        if (voice->Engine != nullptr && voice->Engine->Vendor == vendor)
            voice->SetEnabled(enabled);
}

bool TVoiceList::VendorEnabled(std::string_view vendor) const {
    return std::any_of(voices_.begin(), voices_.end(), [vendor](const auto& voice) {
        return voice->Engine != nullptr && voice->Engine->Vendor == vendor && voice->Enabled();
    });
}

// ---- copies --------------------------------------------------------------------------------

void TVoiceList::CopyTo(TVoiceList& destination) {
    if (&destination == this)
        return;
    destination.Clear();
    for (const auto& voice : voices_) {
        auto copy = std::make_unique<TBaseVoiceClass>();
        copy->Assign(*voice);
        destination.Add(std::move(copy));
    }
    subset_.Rebuild();
}

void TVoiceList::RelinkEngines(const TEngineList& from, const TEngineList& to) {
    for (const auto& voice : voices_) {
        const int index = from.IndexOf(voice->Engine);
        if (index >= 0 && static_cast<size_t>(index) < to.Count())
            voice->Engine = &to[index];
    }
}

} // namespace olv
