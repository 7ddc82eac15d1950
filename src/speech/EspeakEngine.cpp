#include "speech/EspeakEngine.h"

#include "speech/ESpeechError.h"
#include "speech/LanguageMap.h"
#include "speech/TextEncoding.h"
#include "util/Log.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <espeak-ng/speak_lib.h>

namespace olv {
namespace {

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
    sampleRate_ =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, kBufferMs, nullptr, kInitialiseDontExit);
    if (sampleRate_ <= 0) {
        Log("eSpeak NG could not start: no voice data");
        startFailed_ = true;
        return false;
    }
    espeak_SetSynthCallback(OnSynth);
    started_ = true;
    ListVoices();
    return true;
}

void EspeakEngine::ListVoices() {
    const TGUID engineId = TGUID::FromName(kManufacturer);
    const espeak_VOICE** list = espeak_ListVoices(nullptr);
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
    if (espeak_SetVoiceByName(voice.Key.c_str()) == EE_OK)
        return;
    // Some voices are found only by their language ("en-gb" is refused by name).
    espeak_VOICE wanted;
    std::memset(&wanted, 0, sizeof wanted);
    wanted.languages = voice.LanguageTag.c_str();
    if (espeak_SetVoiceByProperties(&wanted) != EE_OK)
        throw ESpeechError(0x80040206); // a non-existent speech engine
}

void EspeakEngine::Synthesize(const EngineVoice& voice, std::string_view text,
                              const SynthParams& params, SynthesisSink& sink) {
    std::lock_guard lock(mutex_);
    if (!Start())
        throw ESpeechError(0x80040206);
    SelectVoice(voice);
    espeak_SetParameter(espeakRATE, Clamp(params.Speed, 80, 450), 0);
    espeak_SetParameter(espeakPITCH, Clamp(params.Pitch, 0, 100), 0);
    espeak_SetParameter(
        espeakVOLUME, static_cast<int>(std::lround(Clamp(params.Volume, 0, 65535) * 100.0 / 65535)),
        0);
    std::string utf8 = TextEncoding::Latin1ToUtf8(text);
    Synthesis current{&sink, sampleRate_};
    gCurrent = &current;
    espeak_ERROR result =
        espeak_Synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8 | (params.EndPause ? espeakENDPAUSE : 0), nullptr, nullptr);
    gCurrent = nullptr;
    if (result != EE_OK && !sink.Cancelled())
        throw ESpeechError(result == EE_BUFFER_FULL ? ESpeechError::kOutOfMemory
                                                    : ESpeechError::kInvalidParameter);
}

} // namespace olv
