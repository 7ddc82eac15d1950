#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace olv {

// A short modal message to the user ("ShowMessage"). The window binds it to a message box;
// without a binding the text goes to standard error, so command-line tools still say it.
void ShowMessage(std::string_view text);

using MessageHookFn = std::function<void(const std::string& text)>;

// Replaces the hook; an empty function restores the default. Returns the previous hook.
MessageHookFn SetMessageHook(MessageHookFn hook);

} // namespace olv
