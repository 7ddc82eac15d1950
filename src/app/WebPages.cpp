#include "app/WebPages.h"

#include "util/Strings.h"

namespace olv::web {

const char* const kHomePage = OLVENAR_HOME_PAGE;
const char* const kSupportPage = OLVENAR_SUPPORT_PAGE;

std::string WeatherSiteFor(const std::string& cityKey) {
    const bool american = StartsWith(cityKey, "ZIP") || StartsWith(cityKey, "United States|");
    return american ? kNwsPage : kOpenMeteoPage;
}

std::string TellAFriendText() {
    std::string text = "I have been using Olvenar, a talking-weather program: it reads the "
                       "current conditions and the forecast of my cities aloud.";
    if (*kHomePage)
        text += std::string(" You can get it at ") + kHomePage;
    return text;
}

} // namespace olv::web
