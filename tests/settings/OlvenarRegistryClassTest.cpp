#include "settings/OlvenarRegistryClass.h"

#include "SettingsFixture.h"

namespace olv {
namespace {

using OlvenarRegistryClassTest = test::SettingsFixture;

struct Expected {
    const char* Name;
    RegType Type;
    RegScope Scope;
    Variant Default;
};

TEST_F(OlvenarRegistryClassTest, FirstRunHasEveryItemWithItsDefault) {
    const RegScope app = RegScope::App;
    const RegScope shared = RegScope::AppAndShared;
    const std::vector<Expected> table = {
        {"RegionIndex", RegType::Int, app, 12},
        {"StateIndex", RegType::Int, app, 0},
        {"RecentCityList", RegType::List, app, 0},
        {"ProxyHost", RegType::String, shared, ""},
        {"ProxyPort", RegType::String, shared, ""},
        {"ProxyUsername", RegType::String, shared, ""},
        {"ProxyPassword", RegType::String, shared, ""},
        {"ShowMyCities", RegType::Bool, app, true},
        {"ShowGlobal", RegType::Bool, app, false},
        {"MainCityName", RegType::String, app, ""},
        {"AutoStart", RegType::Bool, app, true},
        {"SysTray", RegType::Bool, app, true},
        {"AutoUpdate", RegType::String, app, "15"},
        {"Celcius", RegType::Bool, app, false},
        {"DisableSplash", RegType::Bool, app, false},
        {"PanelColorStart", RegType::String, app, "clNavy"},
        {"PanelColorEnd", RegType::String, app, "clBlue"},
        {"ButtonColor", RegType::String, app, "clNavy"},
        {"LabelColor", RegType::String, app, "clwhite"},
        {"ValueColor", RegType::String, app, "clYellow"},
        {"ButtonCaptionColor", RegType::String, app, "clYellow"},
        {"TrayFontName", RegType::String, app, "System"},
        {"TrayFontSize", RegType::Int, app, 20},
        {"TrayFontColor", RegType::String, app, "clBlack"},
    };
    OlvenarRegistryClass settings(store);
    settings.LoadAll();
    ASSERT_EQ(settings.Items().size(), table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        const BaseRegClass& item = *settings.Items()[i];
        SCOPED_TRACE(table[i].Name);
        EXPECT_EQ(item.Name, table[i].Name);
        EXPECT_EQ(item.Type(), table[i].Type);
        EXPECT_EQ(item.Scope, table[i].Scope);
        EXPECT_EQ(item.GetValue(), table[i].Default);
        if (item.Scope == shared) {
            EXPECT_EQ(item.SharedName, item.Name);
        }
    }
    EXPECT_TRUE(settings.GetList("RecentCityList").empty());
    EXPECT_EQ(settings.ApplicationKey(), "Software\\HalvernWorks\\Olvenar");
    EXPECT_EQ(settings.VersionText(), "1.27");
    EXPECT_TRUE(messages.empty());
}

TEST_F(OlvenarRegistryClassTest, ProxyOfAnotherProgramIsPickedUpAndNotOverwritten) {
    store.WriteString("Software\\HalvernWorks", "ProxyHost", "proxy.other");
    store.WriteString("Software\\HalvernWorks", "ProxyPort", "3128");
    OlvenarRegistryClass settings(store);
    settings.LoadAll();
    EXPECT_EQ(settings.GetValue("ProxyHost"), Variant("proxy.other"));
    settings.SetValue("ProxyHost", "proxy.mine");
    settings.SetValue("ProxyPassword", "secret");
    settings.SaveAll();

    RegistryStore reopened(StoreFile());
    std::string text;
    reopened.ReadString("Software\\HalvernWorks", "ProxyHost", text);
    EXPECT_EQ(text, "proxy.other");
    reopened.ReadString("Software\\HalvernWorks", "ProxyPassword", text);
    EXPECT_EQ(text, "secret"); // absent there before, so copied
    reopened.ReadString("Software\\HalvernWorks\\Olvenar", "ProxyHost", text);
    EXPECT_EQ(text, "proxy.mine");
}

} // namespace
} // namespace olv
