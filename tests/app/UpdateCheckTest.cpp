// The update check as the window hosts it, against an update site made by the publishing tool
// and served over HTTPS on loopback: "&Check For Upgrade" with its progress window, Cancel,
// the first-run question and the automatic check before Update All.

#include "AppTestSupport.h"
#include "app/TOVForm.h"
#include "app/WindowUpdateCheck.h"
#include "app/dialogs/TBaseCancelDialogForm.h"
#include "platform/Files.h"
#include "speech/support/ScopedEnv.h"
#include "update/UpdateFixture.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

namespace olv {
namespace {

using namespace test;

constexpr const char* kFileQuestion =
    "A program update taking less than 1 minute to download is available.\n"
    "Would you like to download this update now?";

class UpdateCheckTest : public WindowFixture {
protected:
    UpdateCheckTest() {
        WriteMyCities({});
        updates.Publish("2.0", "9.0");
    }

    // Answers the manifest only after a while, so that the check can be watched or cancelled.
    void ServeSlowManifest(std::chrono::milliseconds delay) {
        HttpTestResponse manifest = HttpTestResponse::Ok(updates.Published("Master.chl"));
        manifest.delayBefore = delay;
        updates.Serve("Master.chl", manifest);
    }
    TBaseCancelDialogForm* ProgressForm() const {
        return window->findChild<TBaseCancelDialogForm*>();
    }
    // What the window showed while the manifest was on its way.
    struct Watched {
        QString caption, message;
        bool shown = false, commandEnabled = true;
    };
    void WatchAfter(std::chrono::milliseconds delay, Watched& watched, bool cancel = false) {
        QTimer::singleShot(delay, window.get(), [this, &watched, cancel] {
            TBaseCancelDialogForm* form = ProgressForm();
            watched.shown = form && form->isVisible();
            watched.caption = form ? form->windowTitle() : QString();
            watched.message = form ? form->Message() : QString();
            watched.commandEnabled = window->Menus().CheckForUpgrade->isEnabled();
            if (form && cancel)
                form->CancelButton()->click();
        });
    }

    UpdateSite updates;
};

TEST_F(UpdateCheckTest, CheckForUpgradeShowsItsProgressAndHowItEnded) {
    Open();
    EXPECT_EQ(messages.Asked, std::vector<std::string>{ProgramUpdater::kFirstRunQuestion});
    EXPECT_TRUE(updates.Requests().empty()); // answered No

    ServeSlowManifest(std::chrono::milliseconds(400));
    Watched watched;
    WatchAfter(std::chrono::milliseconds(150), watched);
    messages.Answers = {false}; // the catalogue can wait; the scripts come silently
    window->Menus().CheckForUpgrade->trigger();
    EXPECT_TRUE(watched.shown);
    EXPECT_EQ(watched.caption, "Checking for Program Updates...");
    EXPECT_EQ(watched.message, "Checking File Revisions...");
    EXPECT_FALSE(watched.commandEnabled);

    EXPECT_FALSE(ProgressForm()->isVisible());
    EXPECT_TRUE(ProgressForm()->Progress().startsWith("Received "));
    EXPECT_TRUE(window->Menus().CheckForUpgrade->isEnabled());
    EXPECT_EQ(messages.Asked.back(), kFileQuestion);
    EXPECT_EQ(messages.Told,
              std::vector<std::string>{"You must exit and restart program for some changes to take "
                                       "effect."});
    EXPECT_EQ(home.Read("Olvenar.chl"), updates.Published("Olvenar.chl"));
    EXPECT_NE(home.Read("OVDef.chl"), updates.Published("OVDef.chl"));
}

TEST_F(UpdateCheckTest, CancelEndsTheCheckAndChangesNothing) {
    Open();
    const std::string script = home.Read("Olvenar.chl");
    ServeSlowManifest(std::chrono::seconds(20));
    Watched watched;
    WatchAfter(std::chrono::milliseconds(150), watched, true);
    window->Menus().CheckForUpgrade->trigger();
    EXPECT_TRUE(watched.shown);
    EXPECT_FALSE(ProgressForm()->isVisible());
    EXPECT_TRUE(window->Menus().CheckForUpgrade->isEnabled());
    EXPECT_TRUE(messages.Told.empty());
    EXPECT_FALSE(FileExists(home.File("Master.chl")));
    EXPECT_EQ(home.Read("Olvenar.chl"), script);
}

TEST_F(UpdateCheckTest, UpdateAllChecksWhenTheGateOpens) {
    Open();
    std::vector<std::string> status;
    auto check = std::make_unique<WindowUpdateCheck>(
        window->Settings(), *window, [&](const std::string& text) { status.push_back(text); });
    check->Updater().RandomDigit = [] { return 1; };
    window->SetUpdateCheck(std::move(check));
    window->Menus().UpdateAll->trigger();
    EXPECT_EQ(status, (std::vector<std::string>{"Checking for Program Updates", "Idle..."}));
    ASSERT_FALSE(updates.Requests().empty());
    EXPECT_EQ(updates.Requests().front(), "/updates/chls/Master.chl?product=Olvenar&FirstTime");
    EXPECT_TRUE(messages.Told.empty());   // a silent check: nothing to say
    window->Menus().UpdateAll->trigger(); // once a day at most
    EXPECT_EQ(status.size(), 2u);
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
