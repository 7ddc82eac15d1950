#include "platform/ProcessMessages.h"

#include <utility>

namespace olv {
namespace {
std::function<void()>& Pump() {
    static std::function<void()> pump;
    return pump;
}
} // namespace

void ProcessMessages() {
    if (auto& pump = Pump())
        pump();
}

std::function<void()> SetProcessMessagesHook(std::function<void()> pump) {
    return std::exchange(Pump(), std::move(pump));
}

} // namespace olv
