#include "platform/Files.h"

#include "platform/FileLock.h"
#include "platform/Paths.h"
#include "support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <system_error>

namespace olv {
namespace {

TEST(Files, AtomicSaveReplacesTheFileAndKeepsItsMode) {
    test::TempDir dir;
    const std::string file = dir.File("data.chl");
    const auto mode = [&] { return std::filesystem::status(file).permissions(); };
    SaveFileAtomically(file, "one", 0600);
    EXPECT_EQ(mode(), std::filesystem::perms(0600));
    SaveFileAtomically(file, "two");
    EXPECT_EQ(dir.Read("data.chl"), "two");
    EXPECT_EQ(mode(), std::filesystem::perms(0600));
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    EXPECT_THROW(SaveFileAtomically(dir.File("no/such/file"), "x"), std::system_error);
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
    const rlimit small{4096, saved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(SaveFileAtomically(file, std::string(100000, 'x')), std::system_error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(dir.Read("data.chl"), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(Paths, InsideFolderResolvesDotsAndLinks) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "sub");
    std::filesystem::create_symlink("/etc", dir.Path() / "escape");
    std::string inside;
    for (const std::string& path :
         {dir.File("123.html"), dir.File("sub/a.txt"), dir.File("../x.html"),
          dir.File("sub/../../x"), dir.File("escape/passwd"), std::string("/etc/passwd"),
          dir.Folder(), std::string()})
        inside += IsInsideFolder(path, dir.Folder()) ? "y" : "n";
    EXPECT_EQ(inside, "yynnnnnn");
}

// Prepares the program folder as a starting program does, then goes back to where it was.
std::string Prepare(const std::string& folder, const std::string& shipped) {
    const auto before = std::filesystem::current_path();
    const std::string problem = PrepareProgramFolder(folder, shipped);
    std::filesystem::current_path(before);
    SetProgramFolder("");
    return problem;
}

TEST(Paths, PreparingCopiesMissingFilesAndClearsLeftoversWhenNoOtherInstanceRuns) {
    namespace fs = std::filesystem;
    test::TempDir home;
    // Sorted, as listed below. "456.html" is young (a download under way); the other four of
    // the first five are what killed runs left.
    const std::vector<std::string> all = {
        "123.html",     "456.html",        "7.html.x1Y2z3", "Auto.chl.Ab12Cd", "Lookup.dat.ZZZZZZ",
        "MyCities.chl", "Olvenar.chl.bak", "a123.html",     "notes.html",      "page.html.Ab12Cd"};
    const auto now = fs::file_time_type::clock::now();
    for (const std::string& name : all) {
        home.Write(name, "x");
        fs::last_write_time(home.Path() / name, name == "456.html" ? now : now - kLeftoverAge * 2);
    }
    const auto listed = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(home.Path()))
            if (entry.path().filename() != kInstanceLockName)
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::string lockFile = home.Folder() + kInstanceLockName;
    {
        // What another running instance holds: its own open of the lock file.
        FileLock other(lockFile, FileLock::Mode::Shared, std::chrono::milliseconds(0));
        EXPECT_EQ(Prepare(home.Folder(), home.Folder() + "none"), "");
        EXPECT_EQ(listed(), all);
    }
    test::TempDir shipped; // the user's or the updater's copy is never replaced
    shipped.Write("MyCities.chl", "shipped");
    shipped.Write("OVDef.chl", "shipped");
    EXPECT_EQ(Prepare(home.Folder(), shipped.Folder()), "");
    std::vector<std::string> kept(all.begin() + 5, all.end());
    kept.insert(kept.begin(), "456.html");
    kept.insert(kept.begin() + 2, "OVDef.chl");
    EXPECT_EQ(listed(), kept);
    EXPECT_EQ(home.Read("MyCities.chl") + home.Read("OVDef.chl"), "xshipped");
    // This instance now holds the lock, shared: one started later removes nothing.
    EXPECT_FALSE(
        FileLock(lockFile, FileLock::Mode::Exclusive, std::chrono::milliseconds(0)).Held());
}

} // namespace
} // namespace olv
