#include "platform/qt/QtPlatform.h"

#include "platform/ProcessMessages.h"
#include "platform/Timer.h"
#include "platform/qt/QtTimer.h"

#include <QCoreApplication>

namespace olv {

void InstallQtEventLoop() {
    SetProcessMessagesHook([] { QCoreApplication::processEvents(); });
    SetTimerFactory([] { return std::make_unique<QtTimer>(); });
}

} // namespace olv
