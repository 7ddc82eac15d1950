#include "platform/MessageHook.h"

#include <iostream>
#include <utility>

namespace olv {
namespace {
MessageHookFn& Hook() {
    static MessageHookFn hook;
    return hook;
}
} // namespace

void ShowMessage(std::string_view text) {
    if (auto& hook = Hook()) {
        hook(std::string(text));
        return;
    }
    std::cerr << text << '\n';
}

MessageHookFn SetMessageHook(MessageHookFn hook) {
    return std::exchange(Hook(), std::move(hook));
}

} // namespace olv
