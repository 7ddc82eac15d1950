#include "platform/Autostart.h"

#include "platform/Files.h"
#include "platform/Paths.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace olv {
namespace {

// The user's configuration folder is pointed at a temporary one for each test.
class AutostartTest : public ::testing::Test {
protected:
    AutostartTest() {
        if (const char* previous = std::getenv("XDG_CONFIG_HOME"))
            previous_ = previous;
        ::setenv("XDG_CONFIG_HOME", dir.Folder().c_str(), 1);
    }
    ~AutostartTest() override {
        if (previous_.empty())
            ::unsetenv("XDG_CONFIG_HOME");
        else
            ::setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
    }

    std::string ExecLine() const {
        for (const std::string& line : SplitLines(dir.Read("autostart/olvenar.desktop")))
            if (line.rfind("Exec=", 0) == 0)
                return line;
        return {};
    }

    test::TempDir dir;

private:
    std::string previous_;
};

TEST_F(AutostartTest, EntryStartsTheProgramWithAutoAndGoesAwayWhenOff) {
    EXPECT_EQ(AutostartEntryPath(), dir.Folder() + "/autostart/olvenar.desktop");
    EXPECT_FALSE(AutostartEntryExists());
    EXPECT_EQ(DeleteAutostartEntry(), ""); // nothing to remove is fine

    EXPECT_EQ(WriteAutostartEntry("/opt/olvenar/bin/olvenar"), "");
    EXPECT_TRUE(AutostartEntryExists());
    const std::string text = dir.Read("autostart/olvenar.desktop");
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
    EXPECT_EQ(ExecLine(), "Exec=\"/opt/olvenar/bin/olvenar\" -auto");
    struct stat st {};
    ASSERT_EQ(::stat(AutostartEntryPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    EXPECT_EQ(DeleteAutostartEntry(), "");
    EXPECT_FALSE(AutostartEntryExists());
}

TEST_F(AutostartTest, PathIsQuotedAsDesktopEntriesRequire) {
    EXPECT_EQ(
        AutostartExecValue("/home/a b/it's \"x\" $HOME `c` 100% back\\slash"),
        "\"/home/a b/it's \\\\\"x\\\\\" \\\\$HOME \\\\`c\\\\` 100%% back\\\\\\\\slash\" -auto");
    // A line break cannot be written into the entry at all.
    EXPECT_NE(WriteAutostartEntry("/bin/two\nlines"), "");
    EXPECT_NE(WriteAutostartEntry(""), "");
    EXPECT_FALSE(AutostartEntryExists());
}

TEST_F(AutostartTest, SettingFollowsTheRunningProgram) {
    const std::string self = RunningProgramPath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(SetAutostart(true), "");
    EXPECT_EQ(ExecLine(), "Exec=" + AutostartExecValue(self));
    EXPECT_EQ(SetAutostart(false), "");
    EXPECT_FALSE(AutostartEntryExists());
}

} // namespace
} // namespace olv
