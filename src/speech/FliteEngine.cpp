#include "speech/FliteEngine.h"

#include "speech/ESpeechError.h"
#include "speech/LanguageMap.h"
#include "speech/TextEncoding.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <dlfcn.h>
#include <flite.h>
#include <link.h>
#include <memory>
#include <optional>
#include <unistd.h>

namespace olv {
namespace {

// Debian's voices, each in a library of its own beside the flite library. Three of them hold
// megabytes of tables that take longer to load than the rest of a program start, so a voice is
// loaded the first time it speaks; listing needs only its name and rate.
struct VoiceDef {
    const char* Key;
    const char* Speaker;
    int SampleRate;
};

constexpr VoiceDef kVoices[] = {
    {"kal", "Flite Kal", 8000},  {"kal16", "Flite Kal16", 16000}, {"slt", "Flite Slt", 16000},
    {"rms", "Flite Rms", 16000}, {"awb", "Flite Awb", 16000},
};

constexpr const char* kLanguageTag = "en-us";
// A sentence longer than this is cut at a comma or a blank, to keep each step short.
constexpr size_t kMaxSentence = 240;

// Flite ends the process on an internal error unless a jump target is set: turn it into a
// null result instead. Nothing with a destructor may live in this frame.
cst_utterance* GuardedSynth(const char* text, cst_voice* voice) {
    std::jmp_buf target;
    std::jmp_buf* previous = cst_errjmp;
    cst_errjmp = &target;
    cst_utterance* volatile utterance = nullptr;
    if (setjmp(target) == 0)
        utterance = flite_synth_text(text, voice);
    cst_errjmp = previous;
    return utterance;
}

// Called as clustergen voices turn their parameters into sound: lets a stop end a long
// sentence part-way instead of after all of it.
int StopWhenCancelled(const cst_wave*, int, int, int, cst_audio_streaming_info* info) {
    const auto* sink = static_cast<const SynthesisSink*>(info->userdata);
    return sink->Cancelled() ? CST_AUDIO_STREAM_STOP : CST_AUDIO_STREAM_CONT;
}

void WatchForCancel(cst_features* features, const SynthesisSink& sink) {
    cst_audio_streaming_info* info = new_audio_streaming_info();
    info->asc = StopWhenCancelled;
    info->userdata = const_cast<SynthesisSink*>(&sink);
    feat_set(features, "streaming_info", audio_streaming_info_val(info));
}

struct UtteranceDeleter {
    void operator()(cst_utterance* utterance) const { delete_utterance(utterance); }
};
using UtterancePtr = std::unique_ptr<cst_utterance, UtteranceDeleter>;

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

size_t CutPoint(std::string_view text, size_t start) {
    size_t limit = start + kMaxSentence;
    for (size_t i = limit; i > start + kMaxSentence / 2; --i)
        if (text[i - 1] == ',' && IsBlank(text[i]))
            return i;
    for (size_t i = limit; i > start + 1; --i)
        if (IsBlank(text[i]))
            return i;
    return limit;
}

// Sentences as [start, end) ranges: cut after . ! ? ; : followed by a blank, at line ends,
// and inside overlong sentences.
std::vector<std::pair<size_t, size_t>> Sentences(std::string_view text) {
    std::vector<std::pair<size_t, size_t>> result;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool end = c == '\n' || (std::string_view(".!?;:").find(c) != std::string_view::npos &&
                                 (i + 1 == text.size() || IsBlank(text[i + 1])));
        if (!end && i + 1 - start < kMaxSentence)
            continue;
        size_t cut = end ? i + 1 : CutPoint(text, start);
        result.emplace_back(start, cut);
        start = cut;
        i = cut - 1;
    }
    if (start < text.size())
        result.emplace_back(start, text.size());
    return result;
}

// Where the token's name starts in the sentence: worked out from its end offset, checked,
// else searched for from where the previous token ended.
std::optional<size_t> TokenStart(cst_item* token, std::string_view sentence, size_t& cursor) {
    std::string name = item_feat_string(token, "name");
    std::string punctuation = item_feat_string(token, "punc");
    if (name.empty())
        return std::nullopt;
    long guess = static_cast<long>(item_feat_int(token, "file_pos")) - 1 -
                 static_cast<long>(punctuation.size() + name.size());
    size_t start = std::string_view::npos;
    if (guess >= static_cast<long>(cursor) &&
        static_cast<size_t>(guess) + name.size() <= sentence.size() &&
        sentence.substr(static_cast<size_t>(guess), name.size()) == name)
        start = static_cast<size_t>(guess);
    else
        start = sentence.find(name, cursor);
    if (start == std::string_view::npos)
        return std::nullopt;
    cursor = start + name.size();
    return start;
}

// Start time in seconds of the first word of the token that was given any sound.
std::optional<float> TokenTime(cst_item* token) {
    for (cst_item* daughter = item_daughter(token); daughter; daughter = item_next(daughter)) {
        cst_item* word = item_as(daughter, "Word");
        if (word == nullptr)
            continue;
        float end = ffeature_float(word, "R:SylStructure.daughtern.daughtern.R:Segment.end");
        if (end <= 0)
            continue;
        return ffeature_float(word, "R:SylStructure.daughter1.daughter1.R:Segment.p.end");
    }
    return std::nullopt;
}

// The folder and version suffix of the flite library this program runs with, as in
// "/usr/lib/x86_64-linux-gnu/libflite" and ".so.1": its voices sit beside it with the same suffix.
struct LibraryPlace {
    std::string Folder;
    std::string Suffix;
};

LibraryPlace FliteLibraryPlace() {
    LibraryPlace place;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            const std::string_view name = info->dlpi_name ? info->dlpi_name : "";
            const size_t file = name.rfind("/libflite.so");
            if (file == std::string_view::npos)
                return 0;
            auto& found = *static_cast<LibraryPlace*>(data);
            found.Folder = std::string(name.substr(0, file + 1));
            found.Suffix = std::string(name.substr(file + std::strlen("/libflite")));
            return 1;
        },
        &place);
    return place;
}

std::string VoiceLibrary(const LibraryPlace& place, const char* key) {
    return place.Folder + "libflite_cmu_us_" + key + place.Suffix;
}

} // namespace

FliteEngine& FliteEngine::Instance() {
    static FliteEngine engine;
    return engine;
}

void FliteEngine::Start() {
    if (started_)
        return;
    started_ = true;
    const LibraryPlace place = FliteLibraryPlace();
    const TGUID engineId = TGUID::FromName(kManufacturer);
    for (const VoiceDef& def : kVoices) {
        std::string library = VoiceLibrary(place, def.Key);
        if (place.Folder.empty() || access(library.c_str(), R_OK) != 0)
            continue;
        EngineVoice info;
        info.Info.EngineID = engineId;
        info.Info.MfgName = kManufacturer;
        info.Info.ProductName = kManufacturer;
        info.Info.ModeID = TGUID::FromName(std::string(kManufacturer) + "|" + def.Key);
        info.Info.ModeName = std::string(kManufacturer) + " " + def.Key;
        info.Info.LanguageID = LanguageMap::LanguageIDForTag(kLanguageTag);
        info.Info.Speaker = def.Speaker;
        info.Info.Style = def.Key;
        info.Key = def.Key;
        info.LanguageTag = kLanguageTag;
        info.LanguagePriority = 50;
        info.SampleRate = def.SampleRate;
        voices_.push_back(std::move(info));
        loaded_.push_back(Loaded{std::move(library)});
    }
}

// Loads and registers the voice the first time it is used; the library stays loaded for the
// rest of the run, as the registered voice points into it.
bool FliteEngine::Load(Loaded& loaded, const EngineVoice& voice) {
    if (loaded.Voice != nullptr)
        return true;
    if (loaded.Failed)
        return false;
    loaded.Failed = true;
    void* library = dlopen(loaded.Library.c_str(), RTLD_NOW | RTLD_LOCAL);
    const std::string name = "register_cmu_us_" + voice.Key;
    using Register = cst_voice* (*)(const char*);
    const auto reg = library ? reinterpret_cast<Register>(dlsym(library, name.c_str())) : nullptr;
    if (reg == nullptr) {
        const char* why = dlerror();
        Log("Flite voice " + voice.Key + " could not be loaded: " + (why ? why : name));
        return false;
    }
    flite_init();
    cst_voice* registered = reg(nullptr);
    const int rate = registered ? get_param_int(registered->features, "sample_rate", 0) : 0;
    if (rate != voice.SampleRate) {
        // Its audio would play at the wrong speed.
        Log("Flite voice " + voice.Key + " speaks at " + Decimal(rate) + " Hz, not " +
            Decimal(voice.SampleRate));
        return false;
    }
    loaded.Voice = registered;
    loaded.DurationStretch = get_param_float(registered->features, "duration_stretch", 1.0f);
    loaded.Failed = false;
    return true;
}

const std::vector<EngineVoice>& FliteEngine::Voices() {
    std::lock_guard lock(mutex_);
    Start();
    return voices_;
}

FliteEngine::Loaded* FliteEngine::Find(const std::string& key) {
    for (size_t i = 0; i < voices_.size(); ++i)
        if (voices_[i].Key == key)
            return &loaded_[i];
    return nullptr;
}

void FliteEngine::Synthesize(const EngineVoice& voice, std::string_view text,
                             const SynthParams& params, SynthesisSink& sink) {
    const Loaded* loaded = nullptr;
    {
        std::lock_guard lock(mutex_);
        Start();
        Loaded* found = Find(voice.Key);
        if (found != nullptr && Load(*found, voice))
            loaded = found;
    }
    if (loaded == nullptr)
        throw ESpeechError(0x80040206); // a non-existent speech engine
    // One ASCII character per Latin-1 character, so that positions still match the text.
    std::string ascii = TextEncoding::Latin1ToAscii(text);
    uint64_t frames = 0;
    for (auto [start, end] : Sentences(ascii)) {
        sink.WaitForRoom();
        if (sink.Cancelled())
            return;
        std::string_view sentence = std::string_view(ascii).substr(start, end - start);
        if (!TrimView(sentence).empty())
            SynthesizeSentence(*loaded, sentence, start, frames, params, sink);
    }
}

void FliteEngine::SynthesizeSentence(const Loaded& loaded, std::string_view text, size_t start,
                                     uint64_t& frames, const SynthParams& params,
                                     SynthesisSink& sink) {
    std::vector<std::pair<uint64_t, size_t>> words;
    std::vector<int16_t> samples;
    int rate = 0;
    {
        std::lock_guard lock(mutex_);
        cst_features* features = loaded.Voice->features;
        double speed = std::clamp(params.Speed, 80, 450);
        feat_set_float(features, "duration_stretch",
                       static_cast<float>(loaded.DurationStretch * 175.0 / speed));
        feat_set_float(features, "f0_shift", 0.5f + std::clamp(params.Pitch, 0, 100) / 100.0f);
        std::string sentence(text);
        WatchForCancel(features, sink);
        UtterancePtr utterance(GuardedSynth(sentence.c_str(), loaded.Voice));
        feat_remove(features, "streaming_info");
        if (sink.Cancelled())
            return;
        cst_wave* wave = utterance ? utt_wave(utterance.get()) : nullptr;
        if (wave == nullptr)
            throw ESpeechError(ESpeechError::kInvalidChar);
        rate = wave->sample_rate;
        samples.assign(wave->samples, wave->samples + wave->num_samples);
        size_t cursor = 0;
        for (cst_item* token = relation_head(utt_relation(utterance.get(), "Token")); token;
             token = item_next(token)) {
            auto position = TokenStart(token, text, cursor);
            auto time = TokenTime(token);
            if (position && time)
                words.emplace_back(static_cast<uint64_t>(std::max(0.0f, *time) * rate), *position);
        }
    }
    double gain = std::clamp(params.Volume, 0, 65535) / 65535.0;
    for (int16_t& sample : samples)
        sample = static_cast<int16_t>(sample * gain);
    for (auto [frame, position] : words)
        sink.Word(frames + frame, start + position);
    sink.Audio(samples.data(), samples.size());
    frames += samples.size();
}

} // namespace olv
