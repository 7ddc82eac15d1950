#pragma once

// The person at the screen, for the widget tests: every message box and question of the
// program (Prompter) is recorded and answered here instead of blocking the test.

#include "app/dialogs/Prompter.h"

#include <QString>
#include <deque>
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

} // namespace olv::test
