#include "SettingsFixture.h"
#include "platform/Files.h"
#include "settings/TBaseRegistryClass.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace olv {
namespace {

namespace fs = std::filesystem;
using RegistryStoreTest = test::SettingsFixture;

constexpr const char* kApp = "Software\\HalvernWorks\\Olvenar";

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

TEST_F(RegistryStoreTest, ValuesSurviveReopeningInCreationOrderWithTheirTypes) {
    store.WriteString(kApp, "RegionIndex", "12");
    store.WriteInteger(kApp, "Count", -7);
    store.WriteString(kApp, "AutoUpdate", "15");
    store.WriteString("software\\halvernworks\\OLVENAR", "regionindex", "13"); // keeps its place

    RegistryStore reopened(StoreFile());
    EXPECT_EQ(reopened.ValueNames(kApp),
              (std::vector<std::string>{"RegionIndex", "Count", "AutoUpdate"}));
    std::string text;
    int32_t number = 0;
    EXPECT_TRUE(reopened.ReadString("\\SOFTWARE\\HalvernWorks\\\\olvenar\\", "REGIONINDEX", text));
    EXPECT_EQ(text, "13");
    EXPECT_TRUE(reopened.ReadInteger(kApp, "count", number));
    EXPECT_EQ(number, -7);
    // A value is read only as its own type.
    EXPECT_FALSE(reopened.ReadString(kApp, "Count", text));
    EXPECT_FALSE(reopened.ReadInteger(kApp, "AutoUpdate", number));
    EXPECT_FALSE(reopened.ReadString(kApp, "Missing", text));
    EXPECT_TRUE(reopened.KeyExists("Software"));
    EXPECT_TRUE(reopened.KeyExists("software\\halvernworks"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(RegistryStoreTest, AnyTextSurvivesTheFile) {
    const std::string awkward = "line one\r\nline two\t%41 = 100% caf\xe9 ";
    store.WriteString("Software\\Key with [brackets] and spaces ", "a=b:c %", awkward);
    store.WriteString("Software\\Key with [brackets] and spaces ", "", "default value");
    store.WriteString("Software", " lead", "  lead and trail  ");

    RegistryStore reopened(StoreFile());
    std::string text;
    ASSERT_TRUE(reopened.ReadString("Software\\Key with [brackets] and spaces ", "A=B:C %", text));
    EXPECT_EQ(text, awkward);
    ASSERT_TRUE(reopened.ReadString("Software\\Key with [brackets] and spaces ", "", text));
    EXPECT_EQ(text, "default value");
    ASSERT_TRUE(reopened.ReadString("Software", " lead", text));
    EXPECT_EQ(text, "  lead and trail  ");
    EXPECT_TRUE(messages.empty());
}

TEST_F(RegistryStoreTest, FileIsReadableAndPrivate) {
    store.WriteString(kApp, "RegionIndex", "12");
    store.WriteInteger(kApp, "Count", 5);
    const std::string text = StoreText();
    EXPECT_NE(text.find("[Software\\HalvernWorks\\Olvenar]\nsz:RegionIndex=12\ndword:Count=5\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(ModeOf(StoreFile()), 0600u);

    // A file made by hand with a looser mode is tightened on the next save.
    ::chmod(StoreFile().c_str(), 0644);
    store.WriteString(kApp, "RegionIndex", "13");
    EXPECT_EQ(ModeOf(StoreFile()), 0600u);
    EXPECT_EQ(FolderEntries(dir.File("config")), std::vector<std::string>{"registry"});
}

TEST_F(RegistryStoreTest, HandWrittenFileWithCommentsAndCrLfLoads) {
    WriteStoreFile("# made by hand\r\n; another comment\r\n\r\n[Software\\HalvernWorks]  \r\n"
                   "sz:ProxyHost=proxy.example\r\nDWORD:Port=8080\r\nbinary:Blob=00ff\r\n");
    store.Reload();
    std::string text;
    EXPECT_TRUE(store.ReadString("Software\\HalvernWorks", "ProxyHost", text));
    EXPECT_EQ(text, "proxy.example");
    int32_t number = 0;
    EXPECT_TRUE(store.ReadInteger("Software\\HalvernWorks", "Port", number));
    EXPECT_EQ(number, 8080);
    // Other types are kept but read as missing.
    EXPECT_FALSE(store.ReadString("Software\\HalvernWorks", "Blob", text));
    EXPECT_EQ(store.ValueNames("Software\\HalvernWorks"),
              (std::vector<std::string>{"ProxyHost", "Port", "Blob"}));
    store.WriteString("Software\\HalvernWorks", "ProxyPort", "3128");
    EXPECT_NE(StoreText().find("binary:Blob=00ff\n"), std::string::npos);
    EXPECT_TRUE(messages.empty());
}

TEST_F(RegistryStoreTest, DeletingKeysTakesTheirSubkeysButNotTheirNamesakes) {
    store.WriteString("A\\B\\C", "x", "1");
    store.WriteString("A\\BC", "z", "3");
    EXPECT_TRUE(store.DeleteKey("a\\b"));
    EXPECT_TRUE(store.DeleteValue("a\\bc", "Z"));
    RegistryStore reopened(StoreFile());
    EXPECT_FALSE(reopened.KeyExists("A\\B\\C"));
    EXPECT_FALSE(reopened.KeyExists("A\\B"));
    EXPECT_TRUE(reopened.KeyExists("A\\BC")); // an emptied key stays
    EXPECT_TRUE(reopened.ValueNames("A\\BC").empty());
}

TEST_F(RegistryStoreTest, DeferredChangesAreSavedOnceAtTheEnd) {
    {
        RegistryStore::DeferSaves outer(store);
        store.WriteString(kApp, "One", "1");
        {
            RegistryStore::DeferSaves inner(store);
            store.WriteString(kApp, "Two", "2");
        }
        EXPECT_FALSE(FileExists(StoreFile()));
        EXPECT_TRUE(store.HasUnsavedChanges());
    }
    EXPECT_FALSE(store.HasUnsavedChanges());
    EXPECT_EQ(RegistryStore(StoreFile()).ValueNames(kApp),
              (std::vector<std::string>{"One", "Two"}));
}

TEST_F(RegistryStoreTest, DamagedFileIsKeptAsideAndTheStoreStartsEmpty) {
    const std::vector<std::string> damaged = {
        "sz:Before=any key\n",
        "[Software]\nsz:Bad=%4\n",
        "[Software]\nsz:Bad=%zz\n",
        "[Software]\ndword:Count=twelve\n",
        "[Software]\nno type or equals sign\n",
        "[Software\n",
        std::string("\x7f\x45LF\x02\x01\x01\0\0\0", 10),
    };
    for (const std::string& contents : damaged) {
        SCOPED_TRACE(contents);
        test::TempDir folder;
        const std::string file = folder.File("registry");
        folder.Write("registry", contents);
        messages.clear();

        RegistryStore damagedStore(file);
        EXPECT_TRUE(damagedStore.ValueNames("Software").empty());
        EXPECT_FALSE(damagedStore.KeyExists("Software"));
        ASSERT_EQ(messages.size(), 1u);
        const auto entries = FolderEntries(folder.Folder());
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].rfind("registry.damaged-", 0), 0u);
        EXPECT_NE(messages[0].find(entries[0]), std::string::npos) << messages[0];
        EXPECT_EQ(folder.Read(entries[0]), contents);

        // The next save starts a fresh file beside the kept one.
        damagedStore.WriteString("Software", "Fresh", "1");
        EXPECT_EQ(FolderEntries(folder.Folder()).size(), 2u);
        EXPECT_EQ(folder.Read(entries[0]), contents);
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
    EXPECT_TRUE(messages.empty());
    store.WriteString(kApp, "RegionIndex", "13");
    store.WriteString(kApp, "StateIndex", "4");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(StoreFile()), std::string::npos) << messages[0];
    std::string text;
    EXPECT_TRUE(store.ReadString(kApp, "RegionIndex", text));
    EXPECT_EQ(text, "13");
    EXPECT_TRUE(store.HasUnsavedChanges());

    // Once the obstacle is gone everything reaches the file; a later failure is told again.
    fs::remove(dir.File("config"));
    EXPECT_TRUE(store.Save());
    EXPECT_EQ(RegistryStore(StoreFile()).ValueNames(kApp),
              (std::vector<std::string>{"RegionIndex", "StateIndex"}));
    fs::remove_all(dir.File("config"));
    dir.Write("config", "not a folder");
    EXPECT_FALSE(store.Save());
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(RegistryStoreTest, SharedStoreFollowsTheConfigFolder) {
    // Point the process-wide store at the temporary folder before anything opens the user's.
    ::setenv("OLVENAR_CONFIG_DIR", dir.File("shared").c_str(), 1);
    EXPECT_EQ(RegistryStore::DefaultFilePath(), dir.File("shared") + "/registry");
    RegistryStore& shared = RegistryStore::Shared();
    shared.Open(RegistryStore::DefaultFilePath());
    shared.WriteString(kApp, "RegionIndex", "5");
    ::unsetenv("OLVENAR_CONFIG_DIR");
    EXPECT_TRUE(FileExists(dir.File("shared/registry")));
}

} // namespace
} // namespace olv
