#pragma once

// The dialogs under test run in a QApplication on the offscreen platform, with their message
// boxes answered by a Prompter of the test's, in a temporary folder that is the program folder,
// the settings' home ("config/registry") and $XDG_CONFIG_HOME (autostart entries).
// OLVENAR_DIALOG_SHOTS=<folder> saves a picture of each dialog shown by Shot().

#include "app/dialogs/Prompter.h"
#include "platform/qt/QtPlatform.h"
#include "settings/SettingsFixture.h"
#include "speech/support/QtTestSupport.h"
#include "speech/support/ScopedEnv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <deque>
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

// Records what the dialogs tell and ask; questions are answered from Answers (No when empty).
class RecordingPrompter final : public Prompter {
public:
    void Tell(QWidget*, const QString& text) override { Told.push_back(text.toStdString()); }
    bool AskYesNo(QWidget*, const QString& question) override {
        Asked.push_back(question.toStdString());
        if (Answers.empty())
            return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::vector<std::string> Told;
    std::vector<std::string> Asked;
    std::deque<bool> Answers;
};

class DialogFixture : public SettingsFixture {
protected:
    DialogFixture() : previous_(Prompter::Install(&prompter)) {}
    ~DialogFixture() override { Prompter::Install(previous_); }

    // Runs step on the modal dialog the next exec() opens (the test's way through exec()).
    static void OnNextModal(std::function<void(QWidget&)> step) {
        QTimer::singleShot(0, [step] {
            if (QWidget* modal = QApplication::activeModalWidget())
                step(*modal);
        });
    }

    static QAbstractButton* ButtonNamed(const QWidget& dialog, const QString& text) {
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
            if (button->text().remove(QLatin1Char('&')) == text && button->isVisibleTo(&dialog))
                return button;
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }
    static void Click(const QWidget& dialog, const QString& text) {
        if (QAbstractButton* button = ButtonNamed(dialog, text))
            button->click();
    }

    static void Shot(QWidget& dialog, const std::string& name) {
        const char* folder = std::getenv("OLVENAR_DIALOG_SHOTS");
        if (folder == nullptr || *folder == '\0')
            return;
        dialog.show();
        QApplication::processEvents();
        dialog.grab().save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
    }

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

    // A value of the program's settings as the file holds it ("" when absent).
    std::string Stored(const std::string& name,
                       const std::string& key = "Software\\HalvernWorks\\Olvenar") const {
        RegistryStore file(StoreFile());
        std::string text;
        file.ReadString(key, name, text);
        return text;
    }

    RecordingPrompter prompter;
    ScopedEnv xdgConfig{"XDG_CONFIG_HOME", dir.File("xdg").c_str()};

private:
    Prompter* previous_;
};

} // namespace olv::test
