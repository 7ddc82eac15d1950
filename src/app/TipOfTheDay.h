#pragma once

#include <string>
#include <vector>

namespace olv {

class TBaseRegistryClass;

// The tips of "tips.chl" in turn: the setting "NextTip" holds the index of the tip to show
// next, "ShowTips" whether the tip window opens at start ("Y" or missing: it does).
class TipOfTheDay {
public:
    explicit TipOfTheDay(TBaseRegistryClass& settings);

    // The tip at "NextTip" (an index past the last tip starts again at the first), and
    // "NextTip" moves on. Empty when there are no tips.
    std::string Next();

    bool HasTips() const { return !tips_.empty(); }
    bool ShowAtStartup() const;
    void SetShowAtStartup(bool show);

    // The stored text as an index into count tips: trimmed, empty or not a number gives 0,
    // past the end 0.
    static size_t IndexOf(const std::string& stored, size_t count);

private:
    TBaseRegistryClass& settings_;
    std::vector<std::string> tips_;
};

} // namespace olv
