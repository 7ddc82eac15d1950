#include "platform/Files.h"

#include "platform/Paths.h"
#include "support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <system_error>

namespace olv {
namespace {

TEST(Files, SplitLinesAcceptsEveryLineEnd) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(Files, AtomicSaveReplacesTheFileAndKeepsItsMode) {
    test::TempDir dir;
    const std::string file = dir.File("data.chl");
    SaveFileAtomically(file, "one", 0600);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    SaveFileAtomically(file, "two");
    EXPECT_EQ(dir.Read("data.chl"), "two");
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// A disk that fills up half-way through a save, simulated with a file size limit (which holds
// for root too): the old file survives and no temporary file is left behind.
TEST(Files, SaveInterruptedByAFullDiskKeepsTheOldFile) {
    test::TempDir dir;
    const std::string file = dir.File("data.chl");
    SaveFileAtomically(file, "old contents");
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(SaveFileAtomically(file, std::string(100000, 'x')), std::system_error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(dir.Read("data.chl"), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(Files, SaveIntoAMissingFolderThrows) {
    test::TempDir dir;
    EXPECT_THROW(SaveFileAtomically(dir.File("no/such/file"), "x"), std::system_error);
}

TEST(Paths, InsideFolderResolvesDotsAndLinks) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "sub");
    std::filesystem::create_symlink("/etc", dir.Path() / "escape");
    const std::string folder = dir.Folder();
    EXPECT_TRUE(IsInsideFolder(dir.File("123.html"), folder));
    EXPECT_TRUE(IsInsideFolder(dir.File("sub/a.txt"), folder));
    EXPECT_FALSE(IsInsideFolder(dir.File("../x.html"), folder));
    EXPECT_FALSE(IsInsideFolder(dir.File("sub/../../x"), folder));
    EXPECT_FALSE(IsInsideFolder(dir.File("escape/passwd"), folder));
    EXPECT_FALSE(IsInsideFolder("/etc/passwd", folder));
    EXPECT_FALSE(IsInsideFolder(folder, folder));
    EXPECT_FALSE(IsInsideFolder("", folder));
}

TEST(Paths, PrepareCopiesOnlyMissingShippedFiles) {
    test::TempDir shipped;
    test::TempDir home;
    shipped.Write("OVDef.chl", "shipped");
    shipped.Write("Olvenar.chl", "shipped");
    home.Write("Olvenar.chl", "updated");
    const auto before = std::filesystem::current_path();
    EXPECT_EQ(PrepareProgramFolder(home.Folder() + "olv", shipped.Folder()), "");
    EXPECT_EQ(ProgramFolder(), std::filesystem::canonical(home.Path() / "olv").string() + "/");
    std::filesystem::current_path(before);
    SetProgramFolder("");
    EXPECT_EQ(home.Read("olv/OVDef.chl"), "shipped");

    EXPECT_EQ(PrepareProgramFolder(home.Folder(), shipped.Folder()), "");
    std::filesystem::current_path(before);
    SetProgramFolder("");
    EXPECT_EQ(home.Read("Olvenar.chl"), "updated");
}

} // namespace
} // namespace olv
