#include "app/TipOfTheDay.h"

#include "app/ShippedTexts.h"
#include "settings/TBaseRegistryClass.h"
#include "settings/Variant.h"
#include "util/Strings.h"

namespace olv {

TipOfTheDay::TipOfTheDay(TBaseRegistryClass& settings)
    : settings_(settings), tips_(ShippedTexts::RootList(ShippedTexts::kTipsFile, "tips")) {}

size_t TipOfTheDay::IndexOf(const std::string& stored, size_t count) {
    int32_t index = 0;
    if (!Variant::ParseInt(Trim(stored), index) || index < 0 || size_t(index) >= count)
        return 0;
    return size_t(index);
}

std::string TipOfTheDay::Next() {
    if (tips_.empty())
        return std::string();
    const size_t index = IndexOf(settings_.ReadExeValue("NextTip"), tips_.size());
    settings_.WriteExeValue("NextTip", Decimal(int64_t(index) + 1));
    return tips_[index];
}

bool TipOfTheDay::ShowAtStartup() const {
    const std::string stored = settings_.ReadExeValue("ShowTips");
    return stored.empty() || stored == "Y";
}

void TipOfTheDay::SetShowAtStartup(bool show) {
    settings_.WriteExeValue("ShowTips", show ? "Y" : "N");
}

} // namespace olv
