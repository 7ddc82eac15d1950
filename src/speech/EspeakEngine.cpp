#include "speech/EspeakEngine.h"

#include "speech/ESpeechError.h"
#include "speech/LanguageMap.h"
#include "speech/TextEncoding.h"
#include "util/Log.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <espeak-ng/speak_lib.h>

// eSpeak NG 1.51 asks its sound library for a playback device while it starts, whatever the
// output mode: a stream opened on the sound server (or, without one, a search of the ALSA
// devices) that synchronous mode never plays to, and a noticeable part of every start. eSpeak NG
// finds the device through this name, and the program's own definition comes first: it gets no
// device, as on a machine without sound, which it is made to cope with. Its samples reach us
// through the callback either way.
extern "C" __attribute__((visibility("default"))) struct audio_object*
create_audio_device_object(const char*, const char*, const char*) {
    return nullptr;
}

namespace olv {

// The functions of the library, which is loaded when the voices are first wanted rather than
// with the program: it pulls in the sound server's client and a dozen codecs, and the window
// shows before it needs any of them.
struct EspeakLibrary {
    decltype(&espeak_Initialize) Initialize = nullptr;
    decltype(&espeak_SetSynthCallback) SetSynthCallback = nullptr;
    decltype(&espeak_ListVoices) ListVoices = nullptr;
    decltype(&espeak_SetVoiceByName) SetVoiceByName = nullptr;
    decltype(&espeak_SetVoiceByProperties) SetVoiceByProperties = nullptr;
    decltype(&espeak_SetParameter) SetParameter = nullptr;
    decltype(&espeak_Synth) Synth = nullptr;
};

namespace {

constexpr const char* kLibrary = "libespeak-ng.so.1";

template <typename Function> bool Bind(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// Null, with the reason logged, when the library cannot be loaded. It stays loaded to the end.
const EspeakLibrary* OpenLibrary() {
    static EspeakLibrary api;
    void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    const bool bound = library && Bind(library, "espeak_Initialize", api.Initialize) &&
                       Bind(library, "espeak_SetSynthCallback", api.SetSynthCallback) &&
                       Bind(library, "espeak_ListVoices", api.ListVoices) &&
                       Bind(library, "espeak_SetVoiceByName", api.SetVoiceByName) &&
                       Bind(library, "espeak_SetVoiceByProperties", api.SetVoiceByProperties) &&
                       Bind(library, "espeak_SetParameter", api.SetParameter) &&
                       Bind(library, "espeak_Synth", api.Synth);
    if (bound)
        return &api;
    const char* why = dlerror();
    Log(std::string("eSpeak NG could not be loaded: ") + (why ? why : kLibrary));
    return nullptr;
}

constexpr int kBufferMs = 100;
constexpr int kInitialiseDontExit = 0x8000; // espeakINITIALIZE_DONT_EXIT

// The synthesis in progress; set while the engine's lock is held.
struct Synthesis {
    SynthesisSink* Sink = nullptr;
    int SampleRate = 0;
};
Synthesis* gCurrent = nullptr;

int OnSynth(short* samples, int count, espeak_EVENT* events) {
    Synthesis* current = gCurrent;
    if (current == nullptr)
        return 1;
    for (espeak_EVENT* event = events; event && event->type != espeakEVENT_LIST_TERMINATED;
         ++event) {
        // Zero-length reports mark clause ends, not words.
        if (event->type != espeakEVENT_WORD || event->length == 0 || event->text_position < 1)
            continue;
        uint64_t frame = static_cast<uint64_t>(event->audio_position) * current->SampleRate / 1000;
        current->Sink->Word(frame, static_cast<size_t>(event->text_position - 1));
    }
    if (samples != nullptr && count > 0)
        current->Sink->Audio(samples, static_cast<size_t>(count));
    return current->Sink->Cancelled() ? 1 : 0;
}

// The languages field: a priority byte, a NUL-terminated tag, repeated; an empty tag ends it.
struct VoiceLanguage {
    std::string Tag;
    int BarePriority = 100;
};

VoiceLanguage ReadLanguages(const char* packed) {
    VoiceLanguage result;
    while (packed != nullptr && packed[0] != '\0' && packed[1] != '\0') {
        int priority = static_cast<unsigned char>(packed[0]);
        std::string tag(packed + 1);
        if (result.Tag.empty())
            result.Tag = tag;
        if (tag == LanguageMap::LanguageOf(result.Tag))
            result.BarePriority = std::min(result.BarePriority, priority);
        packed += tag.size() + 2;
    }
    if (result.Tag == LanguageMap::LanguageOf(result.Tag))
        result.BarePriority = 0;
    return result;
}

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

} // namespace

EspeakEngine& EspeakEngine::Instance() {
    static EspeakEngine engine;
    return engine;
}

bool EspeakEngine::Start() {
    if (started_ || startFailed_)
        return started_;
    startFailed_ = true;
    api_ = OpenLibrary();
    if (api_ == nullptr)
        return false;
    sampleRate_ =
        api_->Initialize(AUDIO_OUTPUT_SYNCHRONOUS, kBufferMs, nullptr, kInitialiseDontExit);
    if (sampleRate_ <= 0) {
        Log("eSpeak NG could not start: no voice data");
        return false;
    }
    startFailed_ = false;
    api_->SetSynthCallback(OnSynth);
    started_ = true;
    ListVoices();
    return true;
}

void EspeakEngine::ListVoices() {
    const TGUID engineId = TGUID::FromName(kManufacturer);
    const espeak_VOICE** list = api_->ListVoices(nullptr);
    for (size_t i = 0; list != nullptr && list[i] != nullptr; ++i) {
        const espeak_VOICE& found = *list[i];
        VoiceLanguage language = ReadLanguages(found.languages);
        EngineVoice voice;
        std::string name = TextEncoding::Utf8ToLatin1(found.name ? found.name : found.identifier);
        voice.Info.EngineID = engineId;
        voice.Info.MfgName = kManufacturer;
        voice.Info.ProductName = kManufacturer;
        voice.Info.ModeID = TGUID::FromName(std::string(kManufacturer) + "|" + found.identifier);
        voice.Info.ModeName = std::string(kManufacturer) + " " + name;
        voice.Info.LanguageID = LanguageMap::LanguageIDForTag(language.Tag);
        voice.Info.Speaker = name;
        voice.Info.Style = found.identifier;
        voice.Key = found.identifier;
        voice.LanguageTag = language.Tag;
        voice.LanguagePriority = language.BarePriority;
        voice.SampleRate = sampleRate_;
        voices_.push_back(std::move(voice));
    }
}

const std::vector<EngineVoice>& EspeakEngine::Voices() {
    std::lock_guard lock(mutex_);
    Start();
    return voices_;
}

void EspeakEngine::SelectVoice(const EngineVoice& voice) {
    if (api_->SetVoiceByName(voice.Key.c_str()) == EE_OK)
        return;
    // Some voices are found only by their language ("en-gb" is refused by name).
    espeak_VOICE wanted;
    std::memset(&wanted, 0, sizeof wanted);
    wanted.languages = voice.LanguageTag.c_str();
    if (api_->SetVoiceByProperties(&wanted) != EE_OK)
        throw ESpeechError(0x80040206); // a non-existent speech engine
}

void EspeakEngine::Synthesize(const EngineVoice& voice, std::string_view text,
                              const SynthParams& params, SynthesisSink& sink) {
    std::lock_guard lock(mutex_);
    if (!Start())
        throw ESpeechError(0x80040206);
    SelectVoice(voice);
    api_->SetParameter(espeakRATE, Clamp(params.Speed, 80, 450), 0);
    api_->SetParameter(espeakPITCH, Clamp(params.Pitch, 0, 100), 0);
    api_->SetParameter(
        espeakVOLUME, static_cast<int>(std::lround(Clamp(params.Volume, 0, 65535) * 100.0 / 65535)),
        0);
    std::string utf8 = TextEncoding::Latin1ToUtf8(text);
    Synthesis current{&sink, sampleRate_};
    gCurrent = &current;
    espeak_ERROR result =
        api_->Synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                    espeakCHARS_UTF8 | (params.EndPause ? espeakENDPAUSE : 0), nullptr, nullptr);
    gCurrent = nullptr;
    if (result != EE_OK && !sink.Cancelled())
        throw ESpeechError(result == EE_BUFFER_FULL ? ESpeechError::kOutOfMemory
                                                    : ESpeechError::kInvalidParameter);
}

} // namespace olv
