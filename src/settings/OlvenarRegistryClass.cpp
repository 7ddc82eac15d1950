#include "settings/OlvenarRegistryClass.h"

namespace olv {

OlvenarRegistryClass::OlvenarRegistryClass(RegistryStore& store) : TBaseRegistryClass(store) {
    SetApplicationName("Olvenar");
    // 12 is "United States (by List)" in the region drop-down.
    Declare("RegionIndex", RegScope::App, RegType::Int, 12);
    Declare("StateIndex", RegScope::App, RegType::Int, 0);
    Declare("RecentCityList", RegScope::App, RegType::List);
    // The proxy is shared with the maker's other programs.
    Declare("ProxyHost", RegScope::AppAndShared, RegType::String, "", "ProxyHost");
    Declare("ProxyPort", RegScope::AppAndShared, RegType::String, "", "ProxyPort");
    Declare("ProxyUsername", RegScope::AppAndShared, RegType::String, "", "ProxyUsername");
    Declare("ProxyPassword", RegScope::AppAndShared, RegType::String, "", "ProxyPassword");
    Declare("ShowMyCities", RegScope::App, RegType::Bool, true);
    Declare("ShowGlobal", RegScope::App, RegType::Bool, false);
    Declare("MainCityName", RegScope::App, RegType::String, "");
    Declare("AutoStart", RegScope::App, RegType::Bool, true);
    Declare("SysTray", RegScope::App, RegType::Bool, true);
    // Minutes between automatic refreshes of My Cities, as text; "0" turns it off.
    Declare("AutoUpdate", RegScope::App, RegType::String, "15");
    Declare("Celcius", RegScope::App, RegType::Bool, false);
    Declare("DisableSplash", RegScope::App, RegType::Bool, false);
    Declare("PanelColorStart", RegScope::App, RegType::String, "clNavy");
    Declare("PanelColorEnd", RegScope::App, RegType::String, "clBlue");
    Declare("ButtonColor", RegScope::App, RegType::String, "clNavy");
    Declare("LabelColor", RegScope::App, RegType::String, "clwhite");
    Declare("ValueColor", RegScope::App, RegType::String, "clYellow");
    Declare("ButtonCaptionColor", RegScope::App, RegType::String, "clYellow");
    Declare("TrayFontName", RegScope::App, RegType::String, "System");
    Declare("TrayFontSize", RegScope::App, RegType::Int, 20);
    Declare("TrayFontColor", RegScope::App, RegType::String, "clBlack");
}

std::string OlvenarRegistryClass::VersionText() const {
    return OLVENAR_VERSION; // the project's version, set by the build
}

} // namespace olv
