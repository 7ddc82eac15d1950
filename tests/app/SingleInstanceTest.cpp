// The real program started twice as a user would: the second start hands "restore" to the
// first and ends; a socket left behind by a killed instance does not stop the next start.

#include "dialogs/OffscreenApplication.h"
#include "platform/Files.h"
#include "platform/qt/EventWait.h"
#include "support/TempDir.h"
#include "support/ToolRunner.h"

#include <QProcess>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace olv {
namespace {

class SingleInstance : public ::testing::Test {
protected:
    // Past the first-run questions, which would hold the start before the window.
    SingleInstance() {
        config.Write("registry", "[Software\\HalvernWorks\\Olvenar]\nsz:StartupSaved=1\n");
    }
    ~SingleInstance() override {
        for (QProcess* process : {&first, &next}) {
            process->kill();
            process->waitForFinished();
        }
    }

    std::vector<std::string> Environment() const {
        return {"QT_QPA_PLATFORM=offscreen",
                "OLVENAR_HOME=" + home.Folder(),
                "OLVENAR_CONFIG_DIR=" + config.Folder(),
                "XDG_RUNTIME_DIR=" + runtime.Folder(),
                "OLVENAR_SHIPPED_DATA=" + std::string(OLVENAR_DATA_DIR),
                "PULSE_SERVER=unix:/nonexistent"};
    }
    void Start(QProcess& process) {
        QStringList environment = QProcess::systemEnvironment();
        for (const std::string& setting : Environment())
            environment << QString::fromStdString(setting);
        process.setEnvironment(environment);
        process.start(QStringLiteral(OLVENAR_BINARY_DIR "/olvenar"), {QStringLiteral("-auto")});
    }
    std::string Log() const {
        std::string text;
        ReadWholeFile(home.File("olvenar.dbg"), text);
        return text;
    }
    // Runs events until the log holds text (a timer wakes the loop to look).
    bool LogSays(const std::string& text) {
        QTimer look;
        look.start(20);
        return EventWait::Until([&] { return Log().find(text) != std::string::npos; },
                                std::chrono::seconds(20));
    }
    test::ToolRun StartAgain() {
        return test::RunTool("olvenar", {}, Environment(), home.Folder());
    }

    test::TempDir home, config, runtime;
    QProcess first, next;
};

TEST_F(SingleInstance, ASecondStartHandsOverAndAStaleSocketNeverBlocks) {
    Start(first);
    ASSERT_TRUE(LogSays("Olvenar ->Run"));
    test::ToolRun second = StartAgain();
    EXPECT_EQ(second.Status, 0) << second.Err;
    EXPECT_TRUE(LogSays("Restoring the window"));
    EXPECT_EQ(first.state(), QProcess::Running);

    // Killed, the first leaves its socket behind.
    first.kill();
    first.waitForFinished();
    EXPECT_TRUE(std::filesystem::exists(runtime.File("olvenar-" + std::to_string(getuid()))));
    std::filesystem::remove(home.File("olvenar.dbg"));
    Start(next);
    ASSERT_TRUE(LogSays("Olvenar ->Run"));
    second = StartAgain();
    EXPECT_EQ(second.Status, 0);
    EXPECT_TRUE(LogSays("Restoring the window"));
}

} // namespace
} // namespace olv
