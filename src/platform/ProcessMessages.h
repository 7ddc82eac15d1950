#pragma once

#include <functional>

namespace olv {

// Lets pending user-interface events run during long operations (script runs, downloads,
// encoding), so that a Stop or Exit command can reach them. The Qt application binds it to
// QCoreApplication::processEvents(); core code and tests run with the default no-op.
void ProcessMessages();

// Replaces the pump; an empty function restores the no-op. Returns the previous pump.
std::function<void()> SetProcessMessagesHook(std::function<void()> pump);

} // namespace olv
