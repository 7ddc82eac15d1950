#pragma once

#include <string>

namespace olv {

// The status line's words for a failed retrieval: the retrieval script's "ErrorMessage" is
// technical ("download failed, URL=... - Error:Not Found"); a person reads "Could not reach
// the weather service for Boston". The technical text stays in the log.
std::string PlainFailure(const std::string& errorMessage, const std::string& place);

} // namespace olv
