#pragma once

#include <string>

namespace olv::web {

// The web pages and addresses the window opens. The home and support pages are fixed when the
// program is built (CMake cache variables OLVENAR_HOME_PAGE and OLVENAR_SUPPORT_PAGE); empty
// means there is none, and their commands open the local help instead of an address that does
// not exist.
extern const char* const kHomePage;
extern const char* const kSupportPage;
// Who to turn to when speech keeps failing; named in the speak step's message.
inline constexpr const char* kSupportContact = "Halvern Support";

inline constexpr const char* kZipLookupPage = "https://tools.usps.com/zip-code-lookup.htm";
inline constexpr const char* kOpenMeteoPage = "https://open-meteo.com/";
inline constexpr const char* kNwsPage = "https://www.weather.gov/";

// Files in the program folder.
inline constexpr const char* kLocalHelp = "help/index.html";
inline constexpr const char* kQuickStartGuide = "QuickStart.html";

inline constexpr const char* kTellAFriendSubject = "New Olvenar Program";

// The weather service's own home page for a city whose record has no page link: the National
// Weather Service for the United States and ZIP codes, Open-Meteo elsewhere.
std::string WeatherSiteFor(const std::string& cityKey);

// The recommendation text of "Tell A Friend", naming the home page when there is one.
std::string TellAFriendText();

} // namespace olv::web
