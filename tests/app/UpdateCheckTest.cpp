// The update check as the window hosts it, against an update site made by the publishing tool
// and served over HTTPS on loopback.

#include "AppTestSupport.h"
#include "app/TOVForm.h"
#include "app/dialogs/TBaseCancelDialogForm.h"
#include "platform/Files.h"
#include "speech/support/ScopedEnv.h"
#include "update/ProgramUpdater.h"
#include "update/UpdateFixture.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

namespace olv {
namespace {

using namespace test;

class UpdateCheckTest : public WindowFixture {
protected:
    UpdateCheckTest() {
        WriteMyCities({});
        updates.Publish("2.0", "9.0");
    }

    // "&Check For Upgrade" with the manifest answered after delay; a moment into the check
    // the progress window is looked at (and cancelled).
    std::string CheckWatchingProgress(std::chrono::milliseconds delay, bool cancel) {
        HttpTestResponse manifest = HttpTestResponse::Ok(updates.Published("Master.chl"));
        manifest.delayBefore = delay;
        updates.Serve("Master.chl", manifest);
        std::string seen = "(no progress window)";
        QTimer::singleShot(150, window.get(), [&] {
            auto* form = window->findChild<TBaseCancelDialogForm*>();
            if (!form || !form->isVisible())
                return;
            seen = (form->windowTitle() + "|" + form->Message()).toStdString() +
                   (window->Menus().CheckForUpgrade->isEnabled() ? "|enabled" : "");
            if (cancel)
                form->CancelButton()->click();
        });
        window->Menus().CheckForUpgrade->trigger();
        EXPECT_FALSE(window->findChild<TBaseCancelDialogForm*>()->isVisible());
        EXPECT_TRUE(window->Menus().CheckForUpgrade->isEnabled());
        return seen;
    }

    UpdateSite updates;
};

TEST_F(UpdateCheckTest, CheckForUpgradeShowsItsProgressCanBeCancelledAndSaysHowItEnded) {
    Open();
    EXPECT_EQ(messages.Asked, std::vector<std::string>{ProgramUpdater::kFirstRunQuestion});
    EXPECT_TRUE(updates.Requests().empty()); // answered No
    const std::string script = home.Read("Olvenar.chl");
    const std::string progress = "Checking for Program Updates...|Checking File Revisions...";

    EXPECT_EQ(CheckWatchingProgress(std::chrono::seconds(20), true), progress);
    EXPECT_TRUE(messages.Told.empty());
    EXPECT_FALSE(FileExists(home.File("Master.chl")));
    EXPECT_EQ(home.Read("Olvenar.chl"), script);

    messages.Answers = {false}; // the catalogue can wait; the scripts come silently
    EXPECT_EQ(CheckWatchingProgress(std::chrono::milliseconds(400), false), progress);
    EXPECT_TRUE(window->findChild<TBaseCancelDialogForm*>()->Progress().startsWith("Received "));
    EXPECT_EQ(messages.Told, std::vector<std::string>{"You must exit and restart program for "
                                                      "some changes to take effect."});
    EXPECT_EQ(home.Read("Olvenar.chl"), updates.Published("Olvenar.chl"));
}

// Without an update server the first-run question is not asked, and the command says why.
TEST_F(WindowFixture, WithoutAnUpdateServerTheCheckSaysSo) {
    const ScopedEnv noServer("OLVENAR_UPDATE_URL", "");
    Open();
    window->Menus().CheckForUpgrade->trigger();
    EXPECT_TRUE(messages.Asked.empty());
    EXPECT_EQ(messages.Told,
              std::vector<std::string>{"This build of Olvenar has no update server."});
    EXPECT_EQ(window->findChild<TBaseCancelDialogForm*>(), nullptr);
}

} // namespace
} // namespace olv
