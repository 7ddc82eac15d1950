#pragma once

#include <functional>
#include <string>

namespace olv {

// How an update check reaches the person using the program: the window binds these to its
// dialogs and status line, olvenar-report to the terminal. Unset members: messages go to
// ShowMessage, questions take their unattended answer, the rest does nothing.
struct SmartUpdateHost {
    // A message with an OK button.
    std::function<void(const std::string& text)> Message;
    // A Yes/No question; true for Yes. unattended is the answer that changes nothing, for a
    // host with no one to ask, and a fitting default button.
    std::function<bool(const std::string& question, bool unattended)> Ask;
    // Opens a web page in the browser.
    std::function<void(const std::string& address)> OpenPage;
    // The progress dialog, whose "Cancel" calls the checker's Cancel(): shown with a message,
    // its progress line set ("Received 2048 of 9000."), and closed.
    std::function<void(const std::string& message)> ShowProgress;
    std::function<void(const std::string& caption)> Progress;
    std::function<void()> CloseProgress;
    // The window's status line ("Checking for Program Updates", "Idle...").
    std::function<void(const std::string& text)> Status;
};

} // namespace olv
