#include "app/RetrievalFailure.h"

#include "util/Strings.h"

namespace olv {

std::string PlainFailure(const std::string& errorMessage, const std::string& place) {
    const std::string lower = LowerCase(errorMessage);
    const auto says = [&lower](const char* words) {
        return lower.find(words) != std::string::npos;
    };
    if (says("download failed"))
        return "Could not reach the weather service for " + place;
    if (says("not in the zip code table"))
        return errorMessage; // the script's own words are plain already
    if (says("no weather service is known"))
        return "No weather service is known for " + place;
    if (says("has no current"))
        return "The weather service has no current conditions for " + place;
    if (says("retrieval script") && says("missing"))
        return "The weather retrieval script is missing; check for upgrade or reinstall Olvenar";
    return "Could not read the weather for " + place;
}

} // namespace olv
