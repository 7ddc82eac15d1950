#pragma once

#include "platform/Files.h"

#include <string>

namespace olv::test {

// Real responses of the weather services, kept in tests/fixtures/services.
inline const std::string kNwsHagatna = "nws-mapclick-json-hagatna-guam.json";
inline const std::string kMeteoCold = "open-meteo-forecast-current-hourly-daily-lat49.9-lon50.json";
inline const std::string kMeteoStorm = "open-meteo-forecast-current-hourly-daily-lat1-lon1.json";

// The response stored under name; empty when it is missing.
inline std::string ServiceResponse(const std::string& name) {
    std::string text;
    ReadWholeFile(std::string(OLVENAR_SOURCE_DIR) + "/tests/fixtures/services/" + name, text);
    return text;
}

} // namespace olv::test
