#pragma once

#include "speech/TBaseVoiceClass.h"
#include "speech/TVoiceSubset.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

class TBaseRegistryClass;
class TEngineList;

// All voices the user can choose, in enumeration order: the engine voices (TVoiceEnumerator
// fills them), then the user-defined voices (LoadUserVoices). Owns its voices.
//
// Settings, in the speech settings object:
//   "VCE_" + VoiceID  one per engine voice, declared by the enumeration: LoadSettings and
//                     SaveSettings read and store them (SaveAll is the caller's)
//   "UDV"             a list, one line per user-defined voice: RegisterUserVoices declares it;
//                     pass its GetList to LoadUserVoices / SaveUserVoices
//
// The speech controller, with its settings object s:
//   initialising   TVoiceEnumerator::Enumerate(voices, engines, s);  (check DefaultVoiceID)
//                  TVoiceList::RegisterUserVoices(s); engines.RegisterSettings(s); s.LoadAll();
//                  voices.LoadSettings(s); engines.LoadSettings(s);
//                  voices.LoadUserVoices(s.GetList(kUserVoicesSetting));
//   saving         voices.SaveSettings(s); voices.SaveUserVoices(s.GetList(kUserVoicesSetting));
//                  engines.SaveSettings(s); s.SaveAll();
//   choosing       NextVoiceForLanguage("US English") (round robin), RandomVoice(), or
//                  FindByID(DefaultVoiceID); voices[0] when that gives none and !Empty()
//   opening        a pitch, speed or volume below 1: voice.LoadDefaultValues(); then on the
//                  speech component SelectMode(voice.ModeID), SetActive(true), SetPitch,
//                  SetSpeed, SetVolumeLeft and SetVolumeRight (both from VolumeLeft()).
class TVoiceList {
public:
    static constexpr std::string_view kUserVoicesSetting = "UDV";

    // Seeds the generator of RandomVoice.
    TVoiceList();
    TVoiceList(const TVoiceList&) = delete;
    TVoiceList& operator=(const TVoiceList&) = delete;

    size_t Count() const { return voices_.size(); }
    bool Empty() const { return voices_.empty(); }
    TBaseVoiceClass& operator[](size_t index) const { return *voices_.at(index); }
    TBaseVoiceClass& Add(std::unique_ptr<TBaseVoiceClass> voice);
    void Clear();

    // The first voice with exactly that Name / VoiceID, or null.
    TBaseVoiceClass* FindByName(std::string_view name) const;
    TBaseVoiceClass* FindByID(std::string_view voiceId) const;
    std::string IDAt(size_t index) const { return (*this)[index].VoiceID; }

    // Reads each engine voice's "VCE_" value into it (after the settings object's LoadAll).
    // Throws EConvertError for a value that is not four integers.
    void LoadSettings(const TBaseRegistryClass& settings);
    // Stores each engine voice's "VCE_" value (SetValue).
    void SaveSettings(TBaseRegistryClass& settings) const;

    // Declares "UDV" (a list, application key), once.
    static void RegisterUserVoices(TBaseRegistryClass& settings);
    // Appends a voice for each line whose base voice is in the list; VoiceID "User-" + the
    // line's index. Lines whose base voice is gone are dropped. Throws EConvertError for a
    // non-numeric pitch or speed (the lines before it are loaded).
    void LoadUserVoices(const std::vector<std::string>& lines);
    // Replaces lines by one line per user-defined voice.
    void SaveUserVoices(std::vector<std::string>& lines) const;
    // How many lines LoadUserVoices was last given.
    size_t UserVoiceLineCount() const { return userVoiceLines_; }

    // Round robin: the next enabled engine voice after the one handed out last whose engine
    // speaks language ("US English"), wrapping around; null when there is none.
    TBaseVoiceClass* NextVoiceForLanguage(std::string_view language);
    // Index of the voice NextVoiceForLanguage handed out last; -1 at first.
    int Cursor() const { return cursor_; }
    // A uniformly random enabled voice, or null when none is enabled.
    TBaseVoiceClass* RandomVoice();
    void SeedRandom(uint32_t seed) { random_.seed(seed); }

    // Enable or disable every voice whose engine has that vendor (user-defined voices have no
    // engine and are left alone); VendorEnabled: any such voice is enabled.
    void EnableVendor(std::string_view vendor) { SetVendorEnabled(vendor, true); }
    void DisableVendor(std::string_view vendor) { SetVendorEnabled(vendor, false); }
    bool VendorEnabled(std::string_view vendor) const;

    // Empties destination and fills it with copies (Assign) of these voices. The copies point
    // at the same engines as these voices: after copying the engine list as well, call
    // destination.RelinkEngines. Throws EVoiceException for a voice whose values are outside
    // its limits.
    void CopyTo(TVoiceList& destination);
    // Points every voice whose engine is entry i of from at entry i of to.
    void RelinkEngines(const TEngineList& from, const TEngineList& to);

    // The enabled voices as last rebuilt.
    TVoiceSubset& Subset() { return subset_; }

private:
    void SetVendorEnabled(std::string_view vendor, bool enabled);
    std::unique_ptr<TBaseVoiceClass> ParseUserVoice(const std::string& line, size_t index) const;

    std::vector<std::unique_ptr<TBaseVoiceClass>> voices_;
    TVoiceSubset subset_{*this};
    int cursor_ = -1;
    size_t userVoiceLines_ = 0;
    std::mt19937 random_;
};

} // namespace olv
