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

    TBaseRegistryClass settings;
};

// The program's own settings prove the defaults of the other types and scopes.
TEST_F(TBaseRegistryClassTest, FirstRunGivesDefaultsAndTheFirstSaveStoresEveryItem) {
    EXPECT_EQ(settings.GetValue("Count"), Variant(0)); // nothing until the first load
    settings.LoadAll();
    EXPECT_TRUE(settings.GetValue("count") == Variant(12) &&
                settings.GetValue("Ratio") == Variant(1.5) &&
                settings.GetValue("Common") == Variant("common default"));
    EXPECT_FALSE(FileExists(StoreFile())); // loading writes nothing

    settings.SetValue("Count", 7);
    settings.SetValue("Ratio", 0.25);
    settings.SetValue("Enabled", false);
    settings.SetValue("Host", "proxy.example");
    settings.SetValue("Common", "everyone");
    EXPECT_TRUE(settings.SaveAll());
    // Texts in the keys of their scopes; the first save creates the shared copy of Host.
    const std::string text = StoreText();
    EXPECT_EQ(text.substr(text.find("\n[")),
              "\n[Software\\HalvernWorks]\nsz:Host=proxy.example\nsz:Common=everyone\n"
              "\n[Software\\HalvernWorks\\TestApp]\nsz:Count=7\nsz:Ratio=0.25\nsz:Enabled=false\n"
              "sz:Title=untitled\nsz:Host=proxy.example\n"
              "\n[Software\\HalvernWorks\\TestApp\\ListRecent]\n");
    EXPECT_TRUE(messages.empty());
}

TEST_F(TBaseRegistryClassTest, StoredTextLoadsAsTheItemsTypeOrGivesTheDefault) {
    // Pairs of name and stored text. A stored "defaultvalue" counts as missing; booleans are
    // true only for the word true.
    const char* const stored[] = {"Title",   "defaultvalue", "Count",   "defaultvalue", "Count",
                                  "twelve",  "Ratio",        "1.5.5",   "Ratio",        " 2,5 ",
                                  "Enabled", "TRUE",         "Enabled", "True",         "Enabled",
                                  "yes",     "Enabled",      "1",       "Enabled",      " true"};
    std::string loaded;
    for (size_t i = 0; i < std::size(stored); i += 2) {
        store.WriteString(kApp, stored[i], stored[i + 1]);
        settings.LoadAll();
        loaded += settings.GetValue(stored[i]).AsString() + ";";
    }
    EXPECT_EQ(loaded, "untitled;12;12;1.5;2.5;true;true;false;false;false;");
    // Integer values (as another program may write them) read as their decimal text.
    store.WriteInteger(kApp, "Count", 42);
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("Count"), Variant(42));
}

TEST_F(TBaseRegistryClassTest, DistributorDefaultsComeBeforeTheSharedCopy) {
    dir.Write("Reseller.chl", "<Title>Reseller edition</Title>\r\n<Host>reseller.proxy</Host>\r\n");
    store.WriteString(kRoot, "Host", "shared.proxy");
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("Title").AsString() + " " + settings.GetValue("Host").AsString(),
              "Reseller edition reseller.proxy");
    // A stored value wins over both.
    store.WriteString(kApp, "Title", "mine");
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("Title"), Variant("mine"));
}

TEST_F(TBaseRegistryClassTest, SharedCopyIsReadWhenMissingHereAndNeverOverwritten) {
    store.WriteString(kRoot, "Host", "shared.proxy");
    settings.Declare("Port", RegScope::AppAndShared, RegType::String, "8080"); // no shared name
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("Host"), Variant("shared.proxy"));
    settings.SetValue("Host", "my.proxy");
    settings.SaveAll();
    // Port's copy is under the item's own name.
    EXPECT_EQ(Stored(kApp, "Host") + " " + Stored(kRoot, "Host") + " " + Stored(kRoot, "Port") +
                  " " + Stored(kRoot, ""),
              "my.proxy shared.proxy 8080 (absent)");

    // An empty shared copy counts as absent and is filled in.
    store.WriteString(kRoot, "Host", "");
    settings.SaveAll();
    EXPECT_EQ(Stored(kRoot, "Host"), "my.proxy");
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
}

TEST_F(TBaseRegistryClassTest, UnknownNamesAndScalarListsAreReported) {
    settings.LoadAll();
    EXPECT_TRUE(settings.GetValue("Nope").IsEmpty());
    settings.SetValue("Nope", 5);
    settings.GetList("Nope").push_back("lost"); // a scratch list: changes go nowhere
    EXPECT_TRUE(settings.GetList("Count").empty());
    const std::string unknown = "No such registry item as name between equals =Nope=";
    EXPECT_EQ(messages, (StringList{unknown, unknown, unknown, "Count is not a StringList Item."}));
    settings.SetValue("Recent", 5); // no effect on a list
    EXPECT_EQ(settings.GetValue("Recent"), Variant(0));
    settings.SetValue("Count", "not a number"); // keeps the current value
    EXPECT_EQ(settings.GetValue("Count"), Variant(12));
}

TEST_F(TBaseRegistryClassTest, WindowPositionsFitASmallerScreen) {
    const auto restored = [&](int screenWidth, int screenHeight) -> std::string {
        const auto origin = settings.RestoreWindowPosition("TOVForm", screenWidth, screenHeight);
        return origin ? std::to_string(origin->Left) + "," + std::to_string(origin->Top) : "none";
    };
    EXPECT_EQ(restored(1024, 768), "none");
    settings.SaveWindowPosition("TOVForm", {false, 900, 1700, 800, 600});
    const std::string key = "Software\\HalvernWorks\\Windows\\olvenar\\TOVForm";
    EXPECT_EQ(store.ValueNames(key), (StringList{"Maximized", "Top", "Left", "Width", "Height"}));
    // Moved inside a smaller screen, never to negative coordinates.
    EXPECT_EQ(restored(1920, 1080) + " " + restored(640, 480), "1120,480 0,0");
    // Closing maximised keeps the last normal position.
    settings.SaveWindowPosition("TOVForm", {true, 0, 0, 1920, 1080});
    EXPECT_EQ(Stored(key, "Maximized") + Stored(key, "Width"), "1800");
    EXPECT_EQ(restored(3000, 2000), "1700,900");
}

// The helpers of fixed keys (start-up saved, first download, the program's own values) are
// used and checked by the preferences, look, update and window tests.
} // namespace
} // namespace olv
