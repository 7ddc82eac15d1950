#pragma once

#include "speech/TBaseEngineClass.h"

#include <memory>
#include <string_view>
#include <vector>

namespace olv {

class TBaseRegistryClass;
class TTTS;

// The recognised engines, in the order the enumeration first met them; owns them. Voices point
// at the engines of the list they were enumerated with, so the list must outlive those voices
// (see TVoiceList::RelinkEngines after copying both lists).
class TEngineList {
public:
    TEngineList() = default;
    TEngineList(const TEngineList&) = delete;
    TEngineList& operator=(const TEngineList&) = delete;

    size_t Count() const { return engines_.size(); }
    TBaseEngineClass& operator[](size_t index) const { return *engines_.at(index); }
    // The position of engine in this list, or -1.
    int IndexOf(const TBaseEngineClass* engine) const;
    TBaseEngineClass& Add(std::unique_ptr<TBaseEngineClass> engine);
    void Clear() { engines_.clear(); }

    // The engine of the mode the component has selected: the first one with the same
    // manufacturer, product and language, or else a new recognised engine, appended. Null when
    // the mode's engine is not recognised.
    TBaseEngineClass* FindOrAdd(const TTTS& tts);
    TBaseEngineClass* FindOrAdd(const TTSModeInfo& mode);

    // The "ENG_" + Name values (boolean, application key, default true). Engines that share a
    // name share one value.
    void RegisterSettings(TBaseRegistryClass& settings) const;
    // Reads them into Enabled (after the settings object's LoadAll).
    void LoadSettings(const TBaseRegistryClass& settings);
    // Stores Enabled into them (SetValue; the caller's SaveAll writes them).
    void SaveSettings(TBaseRegistryClass& settings) const;

    void EnableVendor(std::string_view vendor) { SetVendorEnabled(vendor, true); }
    void DisableVendor(std::string_view vendor) { SetVendorEnabled(vendor, false); }
    // True when any engine of that vendor is enabled.
    bool VendorEnabled(std::string_view vendor) const;

    // Appends to target a copy of the first engine of each vendor target does not hold yet:
    // one engine per vendor, as the voice dialog groups them.
    void MergeVendors(TEngineList& target) const;
    // Empties destination and appends a copy of every engine, in order.
    void CopyTo(TEngineList& destination) const;

    // True when an AT&T Natural Voices engine is installed (MfgName "AT&T Labs").
    bool HasNaturalVoices() const;

private:
    void SetVendorEnabled(std::string_view vendor, bool enabled);
    bool HoldsVendor(std::string_view vendor) const;

    std::vector<std::unique_ptr<TBaseEngineClass>> engines_;
};

} // namespace olv
