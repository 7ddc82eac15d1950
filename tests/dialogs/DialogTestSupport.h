#pragma once

// The dialogs under test run in a QApplication on the offscreen platform, with their message
// boxes answered by a Prompter of the test's, in a temporary folder that is the program folder,
// the settings' home ("config/registry") and $XDG_CONFIG_HOME (autostart entries).
// OLVENAR_DIALOG_SHOTS=<folder> saves a picture of each dialog shown by Shot().

#include "platform/qt/QtPlatform.h"
#include "settings/SettingsFixture.h"
#include "speech/ControllerFixture.h"
#include "speech/support/QtTestSupport.h"
#include "speech/support/ScopedEnv.h"
#include "support/WidgetTestSupport.h"

#include <QApplication>
#include <QWidget>
#include <functional>
#include <memory>

namespace olv::test {

class DialogEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "dialog-test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        InstallQtPlatform();
    }
    void TearDown() override {
        // The sound server's last notices must arrive before Qt goes (see QtEnvironment).
        RunEventsFor(std::chrono::milliseconds(300));
        app_.reset();
    }

private:
    std::unique_ptr<QApplication> app_;
};

inline const auto* const kDialogEnvironment =
    ::testing::AddGlobalTestEnvironment(new DialogEnvironment);

inline void Shot(QWidget& dialog, const std::string& name) {
    const char* folder = std::getenv("OLVENAR_DIALOG_SHOTS");
    if (folder == nullptr || *folder == '\0')
        return;
    dialog.show();
    QApplication::processEvents();
    dialog.grab().save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
}

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
