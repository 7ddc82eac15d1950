#pragma once

namespace olv {

// Binds the core's platform hooks to Qt: ProcessMessages to QCoreApplication::processEvents,
// timers to QTimer, audio output to QAudioSink and the device list to QMediaDevices. Call it
// once the QCoreApplication (or QApplication) exists.
void InstallQtPlatform();

} // namespace olv
