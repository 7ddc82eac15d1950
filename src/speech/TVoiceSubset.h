#pragma once

#include <cstddef>
#include <vector>

namespace olv {

class TBaseVoiceClass;
class TVoiceList;

// The enabled voices of a voice list, in list order; owns nothing. It is a snapshot: Rebuild
// it after voices are enabled, disabled, added or removed (TVoiceList does so where it uses it).
class TVoiceSubset {
public:
    explicit TVoiceSubset(const TVoiceList& owner) : owner_(owner) {}
    TVoiceSubset(const TVoiceSubset&) = delete;
    TVoiceSubset& operator=(const TVoiceSubset&) = delete;

    // Takes every enabled voice of the owner, in order.
    void Rebuild();
    void Clear() { voices_.clear(); }

    size_t Count() const { return voices_.size(); }
    bool Empty() const { return voices_.empty(); }
    TBaseVoiceClass& operator[](size_t index) const { return *voices_.at(index); }

private:
    const TVoiceList& owner_;
    std::vector<TBaseVoiceClass*> voices_;
};

} // namespace olv
