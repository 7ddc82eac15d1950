#include "settings/OlvenarRegistryClass.h"

#include "SettingsFixture.h"
#include "util/Strings.h"

namespace olv {
namespace {

using OlvenarRegistryClassTest = test::SettingsFixture;

TEST_F(OlvenarRegistryClassTest, FirstRunHasEveryItemWithItsDefault) {
    OlvenarRegistryClass settings(store);
    settings.LoadAll();
    const char* const typeNames[] = {"int", "real", "bool", "text", "list"}; // by type code
    std::string items; // name, type and default of each item in declaration order
    for (const auto& item : settings.Items()) {
        items += item->Name + " " + typeNames[static_cast<int>(item->Type())] + " " +
                 item->ValueAsText() + "; ";
        // Only the proxy is shared with the maker's other programs, under its own name (the
        // settings framework's tests prove how a shared copy is read and written).
        const bool shared = StartsWith(item->Name, "Proxy");
        EXPECT_EQ(item->Scope, shared ? RegScope::AppAndShared : RegScope::App) << item->Name;
        EXPECT_EQ(item->SharedName, shared ? item->Name : "");
    }
    EXPECT_EQ(items,
              "RegionIndex int 12; StateIndex int 0; RecentCityList list ; ProxyHost text ; "
              "ProxyPort text ; ProxyUsername text ; ProxyPassword text ; ShowMyCities bool "
              "true; ShowGlobal bool false; MainCityName text ; AutoStart bool true; SysTray "
              "bool true; AutoUpdate text 15; Celcius bool false; DisableSplash bool false; "
              "PanelColorStart text clNavy; PanelColorEnd text clBlue; ButtonColor text "
              "clNavy; LabelColor text clwhite; ValueColor text clYellow; "
              "ButtonCaptionColor text clYellow; TrayFontName text System; TrayFontSize "
              "int 20; TrayFontColor text clBlack; ");
    EXPECT_EQ(settings.ApplicationKey(), "Software\\HalvernWorks\\Olvenar");
    EXPECT_EQ(settings.VersionText(), "1.27");
    EXPECT_TRUE(messages.empty()); // loading shows nothing
}

} // namespace
} // namespace olv
