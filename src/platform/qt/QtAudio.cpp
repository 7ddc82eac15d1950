#include "platform/AudioOutput.h"
#include "platform/qt/QtAudioDevices.h"
#include "platform/qt/QtAudioOutput.h"
#include "platform/qt/QtPlatform.h"

namespace olv {

void InstallQtAudio() {
    SetAudioOutputFactory([] { return std::make_unique<QtAudioOutput>(); });
    SetAudioDeviceLister(&QtAudioDevices::List);
}

void InstallQtPlatform() {
    InstallQtEventLoop();
    InstallQtAudio();
}

} // namespace olv
