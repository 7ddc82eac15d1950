#include "app/WindowUpdateCheck.h"

#include "app/Browser.h"
#include "app/QtText.h"
#include "app/dialogs/Prompter.h"
#include "app/dialogs/TBaseCancelDialogForm.h"

namespace olv {

WindowUpdateCheck::WindowUpdateCheck(OlvenarRegistryClass& settings, QWidget& window,
                                     std::function<void(const std::string& text)> status)
    : window_(window), updater_(settings, Host(std::move(status))) {}

SmartUpdateHost WindowUpdateCheck::Host(std::function<void(const std::string& text)> status) {
    SmartUpdateHost host;
    host.Message = [this](const std::string& text) { TellLatin1(&window_, text); };
    host.Ask = [this](const std::string& question, bool) {
        return AskYesNoLatin1(&window_, question);
    };
    host.OpenPage = [](const std::string& address) { Browser::OpenPage(address); };
    host.ShowProgress = [this](const std::string& message) {
        Progress().ShowMessage(ToQt(message));
    };
    host.Progress = [this](const std::string& caption) {
        if (progress_)
            progress_->SetProgress(ToQt(caption));
    };
    host.CloseProgress = [this] {
        if (progress_)
            progress_->hide();
    };
    host.Status = std::move(status);
    return host;
}

TBaseCancelDialogForm& WindowUpdateCheck::Progress() {
    if (!progress_) {
        progress_ = new TBaseCancelDialogForm(&window_);
        progress_->OnCancel = [this] { updater_.Cancel(); };
    }
    return *progress_;
}

void WindowUpdateCheck::Run(UpdateOccasion occasion) {
    switch (occasion) {
    case UpdateOccasion::Requested:
        updater_.CheckNow();
        break;
    case UpdateOccasion::Automatic:
        updater_.AutoCheckIfDue();
        break;
    case UpdateOccasion::FirstRun:
        updater_.OfferFirstRunCheck();
        break;
    }
}

void WindowUpdateCheck::Cancel() {
    updater_.Cancel();
}

} // namespace olv
