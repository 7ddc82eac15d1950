#include "platform/qt/QtPlatform.h"

#include "platform/AudioOutput.h"
#include "platform/ProcessMessages.h"
#include "platform/Timer.h"
#include "platform/qt/QtAudioDevices.h"
#include "platform/qt/QtAudioOutput.h"
#include "platform/qt/QtTimer.h"

#include <QCoreApplication>

namespace olv {

void InstallQtPlatform() {
    SetProcessMessagesHook([] { QCoreApplication::processEvents(); });
    SetTimerFactory([] { return std::make_unique<QtTimer>(); });
    SetAudioOutputFactory([] { return std::make_unique<QtAudioOutput>(); });
    SetAudioDeviceLister(&QtAudioDevices::List);
}

} // namespace olv
