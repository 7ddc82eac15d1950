#include "speech/TVoiceSubset.h"

#include "speech/TBaseVoiceClass.h"
#include "speech/TVoiceList.h"

namespace olv {

void TVoiceSubset::Rebuild() {
    // Cleared even for an empty owner: the voices it held may be gone.
    voices_.clear();
    for (size_t i = 0; i < owner_.Count(); ++i)
        if (owner_[i].Enabled())
            voices_.push_back(&owner_[i]);
}

} // namespace olv
