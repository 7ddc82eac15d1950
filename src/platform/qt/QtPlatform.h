#pragma once

#include <string>

namespace olv {

// Binds the core's platform hooks to Qt. Call them once the QCoreApplication (or QApplication)
// exists.

// ProcessMessages to QCoreApplication::processEvents and timers to QTimer (Qt Core only).
void InstallQtEventLoop();
// Audio output to QAudioSink and the device list to QMediaDevices (Qt Multimedia).
void InstallQtAudio();
// Both: for programs linked with Qt Multimedia, such as the window and the tests.
void InstallQtPlatform();

// For programs that need sound only now and then (olvenar-report): loads Qt Multimedia and the
// audio adapters from the module beside the program, which starting up without them is much
// quicker for. False, with the reason in why, when the module cannot be loaded.
bool LoadQtAudioModule(std::string& why);
// The same, for a program that starts before it knows whether it will use sound (the window):
// the first output made or device list read loads the module. When it cannot be loaded, the
// reason is logged and the program goes on as one without sound devices.
void InstallQtAudioOnDemand();
// How many sound streams the program has opened so far (0 without the adapters).
int QtAudioStreamsOpened();

} // namespace olv
