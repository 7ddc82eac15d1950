#include "SettingsFixture.h"
#include "platform/Files.h"
#include "settings/OlvenarRegistryClass.h"
#include "support/ToolRunner.h"

#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace olv {
namespace {

namespace fs = std::filesystem;
using RegistryStoreTest = test::SettingsFixture;
using Texts = std::vector<std::string>;

constexpr const char* kApp = "Software\\HalvernWorks\\Olvenar";

Texts FolderEntries(const std::string& folder) {
    Texts names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

TEST_F(RegistryStoreTest, AnyTextSurvivesReopeningInCreationOrderWithItsType) {
    const std::string key = "Software\\Key with [brackets] and spaces ";
    const std::string awkward = "line one\r\nline two\t%41 = 100% caf\xe9 ";
    store.WriteString(kApp, "RegionIndex", "12");
    store.WriteInteger(kApp, "Count", -7);
    store.WriteString("software\\halvernworks\\OLVENAR", "regionindex", "13"); // keeps its place
    store.WriteString(key, "a=b:c %", awkward);
    store.WriteString(key, " lead", "  lead and trail  ");

    RegistryStore reopened(StoreFile());
    EXPECT_EQ(reopened.ValueNames(kApp), (Texts{"RegionIndex", "Count"}));
    EXPECT_EQ(Stored(reopened, "\\SOFTWARE\\HalvernWorks\\\\olvenar\\", "REGIONINDEX"), "13");
    int32_t number = 0;
    EXPECT_TRUE(reopened.ReadInteger(kApp, "count", number) && number == -7);
    EXPECT_EQ(Stored(reopened, kApp, "Count"), "(absent)"); // read only as its own type
    EXPECT_EQ(Stored(reopened, key, "A=B:C %") + "|" + Stored(reopened, key, " lead"),
              awkward + "|  lead and trail  ");
    EXPECT_NE(
        StoreText().find("[Software\\HalvernWorks\\Olvenar]\nsz:RegionIndex=13\ndword:Count=-7\n"),
        std::string::npos);
    EXPECT_EQ(ModeOf(StoreFile()), 0600u); // it holds the proxy password
    // A file made by hand with a looser mode is tightened on the next save.
    ::chmod(StoreFile().c_str(), 0644);
    store.WriteInteger(kApp, "Count", 6);
    EXPECT_EQ(ModeOf(StoreFile()), 0600u);
    EXPECT_EQ(FolderEntries(dir.File("config")), (Texts{"registry", "registry.lock"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(RegistryStoreTest, DeletingKeysTakesTheirSubkeysButNotTheirNamesakes) {
    store.WriteString("A\\B\\C", "x", "1");
    store.WriteString("A\\BC", "z", "3");
    EXPECT_TRUE(store.DeleteKey("a\\b"));
    EXPECT_TRUE(store.DeleteValue("a\\bc", "Z"));
    RegistryStore reopened(StoreFile());
    EXPECT_FALSE(reopened.KeyExists("A\\B"));
    EXPECT_TRUE(reopened.KeyExists("A\\BC")); // an emptied key stays
    EXPECT_TRUE(reopened.ValueNames("A\\BC").empty());
}

TEST_F(RegistryStoreTest, UnreadableLinesOfAFileMadeByHandAreKeptAsideAndTheRestLoads) {
    // Each stands on line 4 of a file with a comment, CR LF line ends and a value of a type
    // the program never writes (kept as it is).
    const Texts damaged = {":NoType=1\n",
                           "sz:Bad=%4\n",
                           "sz:Bad=%zz\n",
                           "dword:Count=twelve\n",
                           "no type or equals\n",
                           "[Software\nsz:Lost=1\n",
                           std::string("\x7f\x45LF\x02\x01\x01\0\0\0\n", 11)};
    for (const std::string& bad : damaged) {
        SCOPED_TRACE(bad);
        const std::string contents = "# by hand\r\n[Kept]  \r\nsz:First=1\r\n" + bad +
                                     "[Kept\\Too]\r\nDWORD:Last=2\r\nbinary:Blob=00ff\r\n";
        test::TempDir folder;
        folder.Write("registry", contents);
        messages.clear();

        RegistryStore damagedStore(folder.File("registry"));
        EXPECT_EQ(Stored(damagedStore, "Kept", "First"), "1");
        EXPECT_FALSE(damagedStore.KeyExists("Software"));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("(line 4: "), std::string::npos) << messages[0];
        const auto entries = FolderEntries(folder.Folder());
        ASSERT_EQ(entries.size(), 3u); // the file, the copy, the lock
        EXPECT_NE(messages[0].find(entries[1] + "."), std::string::npos) << messages[0];
        EXPECT_EQ(folder.Read(entries[1]), contents);
        // The file is written again without the line, so the next start is quiet.
        EXPECT_NE(folder.Read("registry").find("\n[Kept\\Too]\ndword:Last=2\nbinary:Blob=00ff\n"),
                  std::string::npos);
        EXPECT_EQ(RegistryStore(folder.File("registry")).ToText(), damagedStore.ToText());
        EXPECT_EQ(messages.size(), 1u);
    }
}

// Permissions do not hold for root, who runs these tests in some containers.
TEST_F(RegistryStoreTest, UnreadableFileThatCannotBeMovedIsNeverOverwritten) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads and renames regardless of permissions";
    WriteStoreFile("[Software]\nsz:Old=value\n");
    ::chmod(StoreFile().c_str(), 0);
    ::chmod(dir.File("config").c_str(), 0500);
    store.Reload();
    store.WriteString(kApp, "RegionIndex", "12");
    store.WriteString(kApp, "StateIndex", "3");
    ::chmod(dir.File("config").c_str(), 0700);
    ::chmod(StoreFile().c_str(), 0600);
    EXPECT_EQ(StoreText(), "[Software]\nsz:Old=value\n");
    EXPECT_EQ(messages.size(), 2u); // cannot read it; cannot save (once)
}

TEST_F(RegistryStoreTest, UnwritableFolderIsReportedOnceAndValuesStayInMemory) {
    // A plain file where the settings folder should be stops every save, for root too.
    dir.Write("config", "not a folder");
    store.Reload();
    store.WriteString(kApp, "RegionIndex", "13");
    store.WriteString(kApp, "StateIndex", "4");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(StoreFile()), std::string::npos) << messages[0];
    EXPECT_EQ(Stored(kApp, "RegionIndex"), "13");

    // Once the obstacle is gone everything reaches the file.
    fs::remove(dir.File("config"));
    EXPECT_TRUE(store.Save());
    EXPECT_EQ(RegistryStore(StoreFile()).ValueNames(kApp), (Texts{"RegionIndex", "StateIndex"}));
}

TEST_F(RegistryStoreTest, LinkIsWrittenThroughAndReadOnlyFileIsLeftAlone) {
    dir.Write("elsewhere", "[Software]\nsz:Old=value\n");
    MakeFolders(dir.File("config"));
    fs::create_symlink("../elsewhere", StoreFile());
    store.Reload();
    store.WriteString(kApp, "RegionIndex", "12");
    EXPECT_TRUE(fs::is_symlink(StoreFile()));
    const RegistryStore target(dir.File("elsewhere"));
    EXPECT_EQ(Stored(target, "Software", "Old") + Stored(target, kApp, "RegionIndex"), "value12");

    ::chmod(dir.File("elsewhere").c_str(), 0400);
    const std::string before = dir.Read("elsewhere");
    store.WriteString(kApp, "RegionIndex", "13");
    EXPECT_EQ(dir.Read("elsewhere"), before);
    EXPECT_EQ(ModeOf(dir.File("elsewhere")), 0400u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("read-only"), std::string::npos) << messages[0];
    EXPECT_TRUE(store.HasUnsavedChanges());
}

// The other program is a real process (tests/settings/SettingsWriter.cpp) on the same file.
TEST_F(RegistryStoreTest, ProgramsSavingTheirOwnValuesNeverUndoEachOther) {
    const auto writer = [&](std::vector<std::string> settings) {
        settings.insert(settings.begin(), {StoreFile(), "Olvenar"});
        return test::RunTool("tests/settings/settings_writer", settings, {}, dir.Folder()).Status;
    };
    OlvenarRegistryClass window(store);
    window.LoadAll();
    ASSERT_EQ(writer({"ProxyHost=report.proxy"}), 0);
    window.SetValue("RegionIndex", 5);
    window.GetList("RecentCityList") = {"ZIP:02134"};
    EXPECT_TRUE(window.SaveAll());
    window.SetValue("StateIndex", 3); // a second save still keeps the other's value
    EXPECT_TRUE(window.SaveAll());

    // Several at once, each saving its values one by one.
    std::vector<std::future<int>> runs;
    for (const char* name : {"A", "B", "C"}) {
        std::vector<std::string> settings;
        for (int i = 0; i < 15; ++i)
            settings.push_back(name + std::to_string(i) + "=x");
        runs.push_back(std::async(std::launch::async, writer, settings));
    }
    for (auto& run : runs)
        EXPECT_EQ(run.get(), 0);

    RegistryStore reopened(StoreFile());
    EXPECT_EQ(Stored(reopened, kApp, "ProxyHost"), "report.proxy");
    EXPECT_EQ(Stored(reopened, kApp, "RegionIndex") + Stored(reopened, kApp, "StateIndex"), "53");
    EXPECT_EQ(reopened.ValueNames(std::string(kApp) + "\\ListRecentCityList").size(), 1u);
    EXPECT_EQ(reopened.ValueNames(kApp).size(), 23u + 3 * 15); // every scalar item, A0..C14
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace olv
