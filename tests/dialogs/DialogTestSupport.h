#pragma once

// The dialogs under test run in a QApplication on the offscreen platform, with their message
// boxes answered by a Prompter of the test's, in a temporary folder that is the program folder,
// the settings' home ("config/registry") and $XDG_CONFIG_HOME (autostart entries).
// (tools/screenshot --dialogs takes the pictures of the dialogs.)

#include "dialogs/OffscreenApplication.h"
#include "settings/SettingsFixture.h"
#include "speech/ControllerFixture.h"
#include "speech/support/QtTestSupport.h"
#include "speech/support/ScopedEnv.h"
#include "support/WidgetTestSupport.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace olv::test {

inline const std::string kProgramKey = "Software\\HalvernWorks\\Olvenar";
inline const std::string kSpeechKey = "Software\\HalvernWorks\\Olvenar\\BaseTTS";

// A value as the settings file holds it ("" when absent).
inline std::string StoredValue(const std::string& storeFile, const std::string& name,
                               const std::string& key) {
    RegistryStore file(storeFile);
    std::string text;
    file.ReadString(key, name, text);
    return text;
}

class DialogFixture : public SettingsFixture {
protected:
    // A catalogue of twelve regions before "United States", which comes thirteenth as in the
    // shipped one, with Boston and Cambridge in Massachusetts and Austin in Texas.
    void WriteCatalogue() const {
        std::string text = "Test catalogue\n";
        for (char letter = 'A'; letter <= 'L'; ++letter)
            text += std::string("Region ") + letter + "\nState\nTown\naddr\n1\n2\nUp\nUp\n";
        text += "United States\nMassachusetts\nBoston\naddr\n1\n2\nCambridge\naddr\n1\n2\nUp\n"
                "Texas\nAustin\naddr\n1\n2\nUp\nUp\nUp\n";
        dir.Write("OVDef.chl", text);
    }

    std::string Stored(const std::string& name, const std::string& key = kProgramKey) const {
        return StoredValue(StoreFile(), name, key);
    }

    PrompterGuard guard;
    RecordingPrompter& prompter = guard.prompter;
    ScopedEnv xdgConfig{"XDG_CONFIG_HOME", dir.File("xdg").c_str()};
};

// The program's speech controller with its voices and settings (see ControllerFixture), with
// the dialogs' messages recorded.
class SpeechDialogFixture : public ControllerFixture {
protected:
    bool Pump(const std::function<bool()>& done) override { return RunEventsUntil(done); }
    std::string Stored(const std::string& name) const {
        return StoredValue(StoreFile(), name, kSpeechKey);
    }

    PrompterGuard guard;
    RecordingPrompter& prompter = guard.prompter;
};

} // namespace olv::test
