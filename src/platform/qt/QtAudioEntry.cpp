// The entry points of the audio module that LoadQtAudioModule loads. The program sets its own
// hooks with what they hand over: a hook set from inside the module would be the module's copy.

#include "platform/AudioOutput.h"
#include "platform/qt/QtAudioDevices.h"
#include "platform/qt/QtAudioOutput.h"

extern "C" __attribute__((visibility("default"))) void
OlvenarQtAudio(olv::AudioOutputFactory& factory, olv::AudioDeviceLister& lister) {
    factory = [] { return std::make_unique<olv::QtAudioOutput>(); };
    lister = &olv::QtAudioDevices::List;
}

extern "C" __attribute__((visibility("default"))) int OlvenarQtAudioStreams() {
    return olv::QtAudioOutput::StreamsOpened();
}
