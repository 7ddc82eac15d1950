#pragma once

#include <QString>
#include <string>

class QWidget;

namespace olv {

// Every message and question the program puts to the user goes through here (the window's
// commands, the dialogs, the core's ShowMessage, the update check), so that tests can read and
// answer them instead of meeting a blocking message box. The program uses message boxes (the
// default), over parent or, without one, over the active window; a test installs a Prompter of
// its own for as long as it runs.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A short message with an OK button.
    virtual void Tell(QWidget* parent, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& question) = 0;

    static Prompter& Current();
    // Makes prompter the current one (nullptr: the message boxes again); returns the previous.
    static Prompter* Install(Prompter* prompter);
};

// Shortcuts for Prompter::Current().
void Tell(QWidget* parent, const QString& text);
bool AskYesNo(QWidget* parent, const QString& question);
// The same for the core's Latin-1 texts.
void TellLatin1(QWidget* parent, const std::string& text);
bool AskYesNoLatin1(QWidget* parent, const std::string& question);

} // namespace olv
