#include "speech/TEngineList.h"

#include "settings/TBaseRegistryClass.h"
#include "speech/DeclareOnce.h"
#include "speech/TTTS.h"

#include <algorithm>

namespace olv {

int TEngineList::IndexOf(const TBaseEngineClass* engine) const {
    for (size_t i = 0; i < engines_.size(); ++i)
        if (engines_[i].get() == engine)
            return static_cast<int>(i);
    return -1;
}

TBaseEngineClass& TEngineList::Add(std::unique_ptr<TBaseEngineClass> engine) {
    engines_.push_back(std::move(engine));
    return *engines_.back();
}

TBaseEngineClass* TEngineList::FindOrAdd(const TTTS& tts) {
    return FindOrAdd(tts.ModeInfo());
}

TBaseEngineClass* TEngineList::FindOrAdd(const TTSModeInfo& mode) {
    auto candidate = std::make_unique<TBaseEngineClass>();
    if (!candidate->FromModeInfo(mode))
        return nullptr;
    // Compared with what the record keeps, so that engines whose manufacturer the record
    // renames (AT&T Natural Voices) are found again too.
    for (const auto& engine : engines_) {
        if (engine->MfgName == candidate->MfgName &&
            engine->ProductName == candidate->ProductName &&
            engine->LanguageID == candidate->LanguageID)
            return engine.get();
    }
    return &Add(std::move(candidate));
}

void TEngineList::RegisterSettings(TBaseRegistryClass& settings) const {
    for (const auto& engine : engines_)
        DeclareOnce(settings, engine->SettingName(), RegScope::App, RegType::Bool, true);
}

void TEngineList::LoadSettings(const TBaseRegistryClass& settings) {
    for (const auto& engine : engines_)
        engine->Enabled = settings.GetValue(engine->SettingName()).AsBool();
}

void TEngineList::SaveSettings(TBaseRegistryClass& settings) const {
    for (const auto& engine : engines_)
        settings.SetValue(engine->SettingName(), engine->Enabled);
}

void TEngineList::SetVendorEnabled(std::string_view vendor, bool enabled) {
    for (const auto& engine : engines_)
        if (engine->Vendor == vendor)
            engine->Enabled = enabled;
}

bool TEngineList::VendorEnabled(std::string_view vendor) const {
    return std::any_of(engines_.begin(), engines_.end(), [vendor](const auto& engine) {
        return engine->Vendor == vendor && engine->Enabled;
    });
}

bool TEngineList::HoldsVendor(std::string_view vendor) const {
    return std::any_of(engines_.begin(), engines_.end(),
                       [vendor](const auto& engine) { return engine->Vendor == vendor; });
}

void TEngineList::MergeVendors(TEngineList& target) const {
    for (const auto& engine : engines_)
        if (!target.HoldsVendor(engine->Vendor))
            target.Add(std::make_unique<TBaseEngineClass>(*engine));
}

void TEngineList::CopyTo(TEngineList& destination) const {
    if (&destination == this)
        return;
    destination.Clear();
    for (const auto& engine : engines_)
        destination.Add(std::make_unique<TBaseEngineClass>(*engine));
}

bool TEngineList::HasNaturalVoices() const {
    return std::any_of(engines_.begin(), engines_.end(), [](const auto& engine) {
        return engine->MfgName == TBaseEngineClass::kNaturalVoicesMfg;
    });
}

} // namespace olv
