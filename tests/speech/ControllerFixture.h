#pragma once

// The speech controller under test, as its owner sets it up: settings in a registry file of a
// temporary folder (also the program folder and the documents folder), and every event and
// message it raises recorded. Derived fixtures say how to let time pass (Pump).

#include "settings/SettingsFixture.h"
#include "settings/TBaseRegistryClass.h"
#include "speech/TBaseTTS.h"
#include "speech/support/ScopedEnv.h"
#include "speech/support/SpeechTestSupport.h"
#include "util/Strings.h"

#include <algorithm>
#include <filesystem>
#include <memory>

namespace olv::test {

inline const std::string kReport =
    "Good morning. Here are the current conditions for Boston. The temperature is 35 degrees, "
    "winds are from the north at 6 miles per hour, and the sky is clear.";

inline std::string LongText() {
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += kReport + "\n";
    return text;
}

// A control of the caller's: remembers whether it is enabled.
struct Button final : TttsSwitch {
    void SetEnabled(bool enabled) override { Enabled = enabled; }
    bool Enabled = false;
};

inline std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ControllerFixture : public SettingsFixture {
protected:
    ControllerFixture() {
        MakeFolders(documents);
        MakeFolders(output);
        program.SetApplicationName("Olvenar");
    }
    ~ControllerFixture() override { speech.reset(); }

    // A fresh controller on the settings stored so far, recording its events.
    TBaseTTS& Start() {
        speech.reset();
        store.Reload();
        speech = std::make_unique<TBaseTTS>();
        speech->OnStateChange = [this](TBaseTTS&, TtsState state, TtsReason reason) {
            events.push_back("State " + std::to_string(int(state)) + "/" +
                             std::to_string(int(reason)));
        };
        speech->OnDone = [this](TBaseTTS&, TtsReason reason, const std::string& fileBase) {
            events.push_back("Done " + std::to_string(int(reason)) + " " + fileBase);
        };
        speech->OnWordPosition = [this](TBaseTTS&, int position, int length) {
            positions.push_back(size_t(position));
            lastTextLength = length;
        };
        speech->Initialize(program);
        return *speech;
    }

    TBaseVoiceClass& VoiceOfMode(const std::string& modeName) {
        const TGUID mode = TTTS::FindModeID(modeName);
        for (size_t i = 0; i < speech->Voices.Count(); ++i)
            if (speech->Voices[i].ModeID == mode)
                return speech->Voices[i];
        throw std::runtime_error("no voice for " + modeName);
    }

    void PrepareFile(const std::string& format, const std::string& base = "Report") {
        speech->OutputToFile = true;
        speech->OutputDir = output;
        speech->SetOutputFormat(format);
        speech->SetFileBase(base);
    }

    // Lets time pass until done (false after a minute).
    virtual bool Pump(const std::function<bool()>& done) = 0;
    bool WaitForDone() {
        return Pump([&] {
            return std::any_of(events.begin(), events.end(),
                               [](const std::string& e) { return StartsWith(e, "Done"); });
        });
    }

    // Renders text to a file of format with voice and waits for the end of the utterance.
    void Render(const std::string& format, TBaseVoiceClass* voice,
                const std::string& text = kReport) {
        PrepareFile(format);
        speech->SpeakWithVoice(voice, text);
        ASSERT_TRUE(WaitForDone());
    }

    std::string documents = dir.File("Documents");
    std::string output = dir.File("out");
    ScopedEnv documentsEnv{"XDG_DOCUMENTS_DIR", documents.c_str()};
    TBaseRegistryClass program{store};
    std::vector<std::string> events;
    std::vector<size_t> positions;
    int lastTextLength = -1;
    std::unique_ptr<TBaseTTS> speech;
};

} // namespace olv::test
