#pragma once

// The person at the screen, for the widget tests: every message box and question of the
// program (Prompter) is recorded and answered here instead of blocking the test, and modal
// dialogs are worked through their buttons.

#include "app/dialogs/Prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace olv::test {

// Records what the program tells and asks; questions are answered from Answers (No when empty).
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

// Installs a recording prompter for the life of a fixture.
class PrompterGuard {
public:
    PrompterGuard() : previous_(Prompter::Install(&prompter)) {}
    PrompterGuard(const PrompterGuard&) = delete;
    PrompterGuard& operator=(const PrompterGuard&) = delete;
    ~PrompterGuard() { Prompter::Install(previous_); }

    RecordingPrompter prompter;

private:
    Prompter* previous_;
};

// Runs step on the modal dialog the next exec() opens (the test's way through exec()).
inline void OnNextModal(std::function<void(QWidget&)> step) {
    QTimer::singleShot(0, [step] {
        if (QWidget* modal = QApplication::activeModalWidget())
            step(*modal);
    });
}

inline QAbstractButton* ButtonNamed(const QWidget& dialog, const QString& text) {
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        if (button->text().remove(QLatin1Char('&')) == text && button->isVisibleTo(&dialog))
            return button;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

template <typename T> T* Control(const QWidget& dialog, const char* objectName) {
    return dialog.findChild<T*>(QString::fromLatin1(objectName));
}

inline void Click(const QWidget& dialog, const QString& text) {
    if (QAbstractButton* button = ButtonNamed(dialog, text))
        button->click();
}

} // namespace olv::test
