#include "platform/AudioOutput.h"
#include "platform/qt/QtPlatform.h"

#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace olv {
namespace {

constexpr const char* kModuleName = "libolvenar-qt-audio.so";

using InstallFn = void (*)(AudioOutputFactory&, AudioDeviceLister&);
using StreamsFn = int (*)();
StreamsFn streamsOpened = nullptr;

} // namespace

bool LoadQtAudioModule(std::string& why) {
    if (streamsOpened != nullptr)
        return true;
    std::error_code ec;
    const auto folder = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    const std::string path = (folder / kModuleName).string();
    // Kept loaded to the end: Qt's objects and the hooks point into it.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto install =
        module ? reinterpret_cast<InstallFn>(dlsym(module, "OlvenarQtAudio")) : nullptr;
    const auto streams =
        module ? reinterpret_cast<StreamsFn>(dlsym(module, "OlvenarQtAudioStreams")) : nullptr;
    if (install == nullptr || streams == nullptr) {
        why = "the sound support " + path + " could not be loaded: " + dlerror();
        return false;
    }
    AudioOutputFactory factory;
    AudioDeviceLister lister;
    install(factory, lister);
    SetAudioOutputFactory(std::move(factory));
    SetAudioDeviceLister(std::move(lister));
    streamsOpened = streams;
    return true;
}

int QtAudioStreamsOpened() {
    return streamsOpened != nullptr ? streamsOpened() : 0;
}

} // namespace olv
