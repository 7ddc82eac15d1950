#include "settings/OlvenarRegistryClass.h"

#include "SettingsFixture.h"
#include "util/Strings.h"

namespace olv {
namespace {

using OlvenarRegistryClassTest = test::SettingsFixture;

// Names and defaults in declaration order; a default's type is the item's type.
TEST_F(OlvenarRegistryClassTest, FirstRunHasEveryItemWithItsDefault) {
    const std::vector<std::pair<const char*, Variant>> defaults = {
        {"RegionIndex", 12},
        {"StateIndex", 0},
        {"RecentCityList", 0},
        {"ProxyHost", ""},
        {"ProxyPort", ""},
        {"ProxyUsername", ""},
        {"ProxyPassword", ""},
        {"ShowMyCities", true},
        {"ShowGlobal", false},
        {"MainCityName", ""},
        {"AutoStart", true},
        {"SysTray", true},
        {"AutoUpdate", "15"},
        {"Celcius", false},
        {"DisableSplash", false},
        {"PanelColorStart", "clNavy"},
        {"PanelColorEnd", "clBlue"},
        {"ButtonColor", "clNavy"},
        {"LabelColor", "clwhite"},
        {"ValueColor", "clYellow"},
        {"ButtonCaptionColor", "clYellow"},
        {"TrayFontName", "System"},
        {"TrayFontSize", 20},
        {"TrayFontColor", "clBlack"}};
    OlvenarRegistryClass settings(store);
    settings.LoadAll();
    ASSERT_EQ(settings.Items().size(), defaults.size());
    for (size_t i = 0; i < defaults.size(); ++i) {
        const BaseRegClass& item = *settings.Items()[i];
        SCOPED_TRACE(defaults[i].first);
        EXPECT_EQ(item.Name, defaults[i].first);
        EXPECT_EQ(item.GetValue(), defaults[i].second);
        // Only the proxy is shared with the maker's other programs, under its own name (the
        // settings framework's tests prove how a shared copy is read and written).
        const bool shared = StartsWith(item.Name, "Proxy");
        EXPECT_EQ(item.Scope, shared ? RegScope::AppAndShared : RegScope::App);
        EXPECT_EQ(item.SharedName, shared ? item.Name : "");
    }
    EXPECT_TRUE(settings.GetList("RecentCityList").empty());
    EXPECT_EQ(settings.ApplicationKey(), "Software\\HalvernWorks\\Olvenar");
    EXPECT_EQ(settings.VersionText(), "1.27");
    EXPECT_TRUE(messages.empty()); // RecentCityList is a list
}

} // namespace
} // namespace olv
