#include "platform/AudioOutput.h"
#include "platform/qt/QtPlatform.h"
#include "util/Log.h"

#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace olv {
namespace {

constexpr const char* kModuleName = "libolvenar-qt-audio.so";

using InstallFn = void (*)(AudioOutputFactory&, AudioDeviceLister&);
using StreamsFn = int (*)();

// What the module hands over, once it is loaded.
struct ModuleHooks {
    AudioOutputFactory Factory;
    AudioDeviceLister Lister;
    StreamsFn StreamsOpened = nullptr;
};

ModuleHooks& Hooks() {
    static ModuleHooks hooks;
    return hooks;
}

// Beside the program in the build folder; in the library folder once installed.
std::string ModulePath() {
    std::error_code ec;
    const auto folder = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    const auto beside = folder / kModuleName;
    if (std::filesystem::exists(beside, ec))
        return beside.string();
    return (folder / OLVENAR_MODULE_FROM_BIN / kModuleName).lexically_normal().string();
}

bool OpenModule(std::string& why) {
    ModuleHooks& hooks = Hooks();
    if (hooks.StreamsOpened != nullptr)
        return true;
    const std::string path = ModulePath();
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
    install(hooks.Factory, hooks.Lister);
    hooks.StreamsOpened = streams;
    return true;
}

// For the hooks installed on demand: the first use loads the module, once.
const ModuleHooks* OpenModuleOnce() {
    static const bool opened = [] {
        std::string why;
        if (OpenModule(why))
            return true;
        Log(why);
        return false;
    }();
    return opened ? &Hooks() : nullptr;
}

} // namespace

bool LoadQtAudioModule(std::string& why) {
    if (!OpenModule(why))
        return false;
    SetAudioOutputFactory(Hooks().Factory);
    SetAudioDeviceLister(Hooks().Lister);
    return true;
}

void InstallQtAudioOnDemand() {
    SetAudioOutputFactory([]() -> std::unique_ptr<AudioOutput> {
        const ModuleHooks* hooks = OpenModuleOnce();
        return hooks ? hooks->Factory() : nullptr;
    });
    SetAudioDeviceLister([] {
        const ModuleHooks* hooks = OpenModuleOnce();
        return hooks ? hooks->Lister() : std::vector<AudioDeviceInfo>{};
    });
}

int QtAudioStreamsOpened() {
    const StreamsFn streams = Hooks().StreamsOpened;
    return streams != nullptr ? streams() : 0;
}

} // namespace olv
