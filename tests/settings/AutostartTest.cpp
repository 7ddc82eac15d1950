#include "platform/Autostart.h"

#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace olv {
namespace {

// The user's configuration folder is pointed at a temporary one for each test.
class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", dir.Folder().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }

    test::TempDir dir;
};

TEST_F(AutostartTest, EntryStartsTheRunningProgramWithAuto) {
    EXPECT_EQ(AutostartEntryPath(), dir.Folder() + "/autostart/olvenar.desktop");
    EXPECT_EQ(DeleteAutostartEntry(), ""); // nothing to remove is fine
    EXPECT_EQ(SetAutostart(true), "");
    const std::string text = dir.Read("autostart/olvenar.desktop");
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(text.find("\nExec=" + AutostartExecValue(RunningProgramPath()) + "\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(std::filesystem::status(AutostartEntryPath()).permissions(),
              std::filesystem::perms(0644));
    // The preferences' tests turn it off again.
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

} // namespace
} // namespace olv
