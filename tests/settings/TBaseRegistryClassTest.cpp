#include "settings/TBaseRegistryClass.h"

#include "SettingsFixture.h"

namespace olv {
namespace {

using StringList = std::vector<std::string>;
constexpr const char* kRoot = "Software\\HalvernWorks";
constexpr const char* kApp = "Software\\HalvernWorks\\TestApp";

class TBaseRegistryClassTest : public test::SettingsFixture {
protected:
    TBaseRegistryClassTest() : settings(store) {
        settings.SetApplicationName("TestApp");
        settings.Declare("Count", RegScope::App, RegType::Int, 12);
        settings.Declare("Ratio", RegScope::App, RegType::Real, 1.5);
        settings.Declare("Enabled", RegScope::App, RegType::Bool, true);
        settings.Declare("Title", RegScope::App, RegType::String, "untitled");
        settings.Declare("Recent", RegScope::App, RegType::List);
        settings.Declare("Host", RegScope::AppAndShared, RegType::String, "", "Host");
        settings.Declare("Common", RegScope::Shared, RegType::String, "common default");
    }

    std::string Stored(const std::string& key, const std::string& name) const {
        std::string text = "(absent)";
        store.ReadString(key, name, text);
        return text;
    }

    TBaseRegistryClass settings;
};

// The program's own settings prove the defaults of the other types and scopes.
TEST_F(TBaseRegistryClassTest, FirstRunGivesEveryDefault) {
    EXPECT_EQ(settings.GetValue("Count"), Variant(0)); // nothing until the first load
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("count"), Variant(12));
    EXPECT_EQ(settings.GetValue("Ratio"), Variant(1.5));
    EXPECT_EQ(settings.GetValue("Common"), Variant("common default"));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(FileExists(StoreFile())); // loading writes nothing
}

TEST_F(TBaseRegistryClassTest, SaveAllWritesTextValuesWhereTheScopeSays) {
    settings.LoadAll();
    settings.SetValue("Count", 7);
    settings.SetValue("Ratio", 0.25);
    settings.SetValue("Enabled", false);
    settings.SetValue("Host", "proxy.example");
    settings.SetValue("Common", "everyone");
    EXPECT_TRUE(settings.SaveAll());
    EXPECT_EQ(Stored(kApp, "Count"), "7");
    EXPECT_EQ(Stored(kApp, "Ratio"), "0.25");
    EXPECT_EQ(Stored(kApp, "Enabled"), "false");
    EXPECT_EQ(Stored(kApp, "Title"), "untitled");
    EXPECT_EQ(Stored(kApp, "Host"), "proxy.example");
    EXPECT_EQ(Stored(kRoot, "Host"), "proxy.example"); // the first save creates the shared copy
    EXPECT_EQ(Stored(kRoot, "Common"), "everyone");
    EXPECT_EQ(Stored(kApp, "Common"), "(absent)");
    EXPECT_TRUE(store.KeyExists("Software\\HalvernWorks\\TestApp\\ListRecent"));

    TBaseRegistryClass again(store);
    again.SetApplicationName("TestApp");
    again.Declare("Ratio", RegScope::App, RegType::Real, 9.0);
    again.LoadAll();
    EXPECT_EQ(again.GetValue("Ratio"), Variant(0.25));
}

TEST_F(TBaseRegistryClassTest, StoredTextLoadsAsTheItemsTypeOrGivesTheDefault) {
    // Integer values (as another program may write them) read as their decimal text; values of
    // other types count as missing.
    store.WriteInteger(kApp, "Count", 42);
    WriteStoreFile(store.ToText() + "binary:Title=00ff\n");
    store.Reload();
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("Count"), Variant(42));
    EXPECT_EQ(settings.GetValue("Title"), Variant("untitled"));

    struct Case {
        const char* name;
        const char* stored;
        Variant loaded;
    };
    const Case cases[] = {{"Title", "defaultvalue", "untitled"}, // counts as missing
                          {"Count", "defaultvalue", 12},
                          {"Count", "twelve", 12},
                          {"Ratio", "1.5.5", 1.5},
                          {"Ratio", " 2,5 ", 2.5},
                          // Booleans are true only for the word true.
                          {"Enabled", "TRUE", true},
                          {"Enabled", "True", true},
                          {"Enabled", "true", true},
                          {"Enabled", "yes", false},
                          {"Enabled", "1", false},
                          {"Enabled", "", false},
                          {"Enabled", " true", false}};
    for (const Case& c : cases) {
        store.WriteString(kApp, c.name, c.stored);
        settings.LoadAll();
        EXPECT_EQ(settings.GetValue(c.name), c.loaded) << c.name << "='" << c.stored << "'";
    }
}

TEST_F(TBaseRegistryClassTest, DistributorDefaultsComeBeforeTheSharedCopy) {
    dir.Write("Reseller.chl", "<Title>Reseller edition</Title>\r\n<Host>reseller.proxy</Host>\r\n");
    store.WriteString(kRoot, "Host", "shared.proxy");
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("Title"), Variant("Reseller edition"));
    EXPECT_EQ(settings.GetValue("Host"), Variant("reseller.proxy"));
    // A stored value wins over both.
    store.WriteString(kApp, "Title", "mine");
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("Title"), Variant("mine"));
}

TEST_F(TBaseRegistryClassTest, SharedCopyIsReadWhenMissingHereAndNeverOverwritten) {
    store.WriteString(kRoot, "Host", "shared.proxy");
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("Host"), Variant("shared.proxy"));
    settings.SetValue("Host", "my.proxy");
    settings.SaveAll();
    EXPECT_EQ(Stored(kApp, "Host"), "my.proxy");
    EXPECT_EQ(Stored(kRoot, "Host"), "shared.proxy");
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("Host"), Variant("my.proxy"));

    // An empty shared copy counts as absent and is filled in.
    store.WriteString(kRoot, "Host", "");
    settings.SaveAll();
    EXPECT_EQ(Stored(kRoot, "Host"), "my.proxy");
}

TEST_F(TBaseRegistryClassTest, ScopeOneWithoutSharedNameUsesItsOwnName) {
    settings.Declare("Port", RegScope::AppAndShared, RegType::String, "8080");
    settings.LoadAll();
    settings.SaveAll();
    EXPECT_EQ(Stored(kRoot, "Port"), "8080");
    EXPECT_EQ(Stored(kRoot, ""), "(absent)");
}

TEST_F(TBaseRegistryClassTest, ListsShrinkWithoutStaleEntries) {
    settings.LoadAll();
    StringList& recent = settings.GetList("RECENT");
    recent = {"a", "b", "c", "d", "e"};
    settings.SaveAll();
    recent = {"x", "y", "z"};
    settings.SaveAll();
    const std::string key = "Software\\HalvernWorks\\TestApp\\ListRecent";
    EXPECT_EQ(store.ValueNames(key), (StringList{"0", "1", "2"}));
    recent.clear();
    settings.LoadAll();
    EXPECT_EQ(settings.GetList("Recent"), (StringList{"x", "y", "z"}));

    // A list written by hand loads in stored order, whatever the value names.
    store.DeleteKey(key);
    store.WriteString(key, "7", "first");
    store.WriteString(key, "alpha", "second");
    settings.LoadAll();
    EXPECT_EQ(settings.GetList("Recent"), (StringList{"first", "second"}));
}

TEST_F(TBaseRegistryClassTest, UnknownNamesAndScalarListsAreReported) {
    settings.LoadAll();
    EXPECT_TRUE(settings.GetValue("Nope").IsEmpty());
    settings.SetValue("Nope", 5);
    StringList& none = settings.GetList("Nope");
    none.push_back("lost"); // a scratch list: changes go nowhere
    StringList& scalar = settings.GetList("Count");
    EXPECT_TRUE(scalar.empty());
    EXPECT_EQ(messages, (StringList{"No such registry item as name between equals =Nope=",
                                    "No such registry item as name between equals =Nope=",
                                    "No such registry item as name between equals =Nope=",
                                    "Count is not a StringList Item."}));
    settings.SetValue("Recent", 5); // no effect on a list
    EXPECT_EQ(settings.GetValue("Recent"), Variant(0));
    settings.SetValue("Count", "not a number"); // keeps the current value
    EXPECT_EQ(settings.GetValue("Count"), Variant(12));
}

TEST_F(TBaseRegistryClassTest, TwoItemsOfOneNameAreBothKeptButLookupsReachTheFirst) {
    settings.Declare("count", RegScope::App, RegType::String, "second");
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("COUNT"), Variant(12));
    settings.SetValue("Count", 30);
    EXPECT_EQ(settings.Items()[7]->GetValue(), Variant("second"));
    settings.SaveAll();
    // Both were written, in declaration order, to the one value.
    EXPECT_EQ(Stored(kApp, "Count"), "second");
    EXPECT_EQ(store.ValueNames(kApp).front(), "Count");
}

TEST_F(TBaseRegistryClassTest, WindowPositionsFitASmallerScreen) {
    using Geometry = TBaseRegistryClass::WindowGeometry;
    const auto restored = [&](int screenWidth, int screenHeight) -> std::string {
        const auto origin = settings.RestoreWindowPosition("TOVForm", screenWidth, screenHeight);
        return origin ? std::to_string(origin->Left) + "," + std::to_string(origin->Top) : "none";
    };
    EXPECT_EQ(restored(1024, 768), "none");

    settings.SaveWindowPosition("TOVForm", Geometry{false, 900, 1700, 800, 600});
    const std::string key = "Software\\HalvernWorks\\Windows\\olvenar\\TOVForm";
    EXPECT_EQ(store.ValueNames(key), (StringList{"Maximized", "Top", "Left", "Width", "Height"}));
    EXPECT_EQ(Stored(key, "Maximized"), "0");
    EXPECT_EQ(restored(1920, 1080), "1120,480");
    // A window larger than the screen goes to the corner, never to negative coordinates.
    EXPECT_EQ(restored(640, 480), "0,0");

    // Closing maximised keeps the last normal position.
    settings.SaveWindowPosition("TOVForm", Geometry{true, 0, 0, 1920, 1080});
    EXPECT_EQ(Stored(key, "Maximized"), "1");
    EXPECT_EQ(Stored(key, "Width"), "800");
    EXPECT_EQ(restored(3000, 2000), "1700,900");
}

TEST_F(TBaseRegistryClassTest, FixedKeyHelpersUseTheirOwnKeys) {
    EXPECT_FALSE(settings.IsStartupSaved());
    settings.MarkStartupSaved();
    EXPECT_TRUE(settings.IsStartupSaved());
    EXPECT_TRUE(settings.DeleteAppValue("startupsaved"));
    EXPECT_FALSE(settings.IsStartupSaved());

    settings.WriteExeValue("ShowTips", "N");
    EXPECT_EQ(settings.ReadExeValue("showtips"), "N");
    EXPECT_EQ(settings.ReadExeValue("NextTip"), "");

    EXPECT_TRUE(settings.IsFirstTimeDownload());
    settings.ClearFirstTimeDownload();
    EXPECT_FALSE(settings.IsFirstTimeDownload());

    // Each of them reached the file at once, under its own key.
    RegistryStore reopened(StoreFile());
    std::string text;
    EXPECT_TRUE(reopened.ReadString("Software\\HalvernWorks\\olvenar", "ShowTips", text));
    EXPECT_TRUE(reopened.ReadString("Software\\HalvernWorks\\FirstTimeDownloads", "olvenar", text));
    EXPECT_EQ(text, "0");
}

TEST_F(TBaseRegistryClassTest, SettingsObjectsSharingAStoreNeverUndoEachOther) {
    TBaseRegistryClass speech(store);
    speech.SetApplicationName("TestApp\\BaseTTS");
    speech.Declare("Pitch", RegScope::App, RegType::Int, 50);
    settings.LoadAll();
    speech.LoadAll();

    speech.SetValue("Pitch", 60);
    speech.SaveAll();
    settings.SetValue("Count", 3);
    settings.SaveAll();
    speech.SetValue("Pitch", 70);
    speech.SaveAll();

    RegistryStore reopened(StoreFile());
    std::string text;
    EXPECT_TRUE(reopened.ReadString(kApp, "Count", text));
    EXPECT_EQ(text, "3");
    EXPECT_TRUE(reopened.ReadString("Software\\HalvernWorks\\TestApp\\BaseTTS", "Pitch", text));
    EXPECT_EQ(text, "70");

    // A component declaring further items into a loaded object loads again.
    settings.Declare("Late", RegScope::App, RegType::Int, 5);
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("Count"), Variant(3));
    EXPECT_EQ(settings.GetValue("Late"), Variant(5));
}

} // namespace
} // namespace olv
