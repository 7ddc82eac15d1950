#pragma once

#include <stdexcept>
#include <string>

namespace olv {

// A user translation table refused a row (its key is there already).
class ELookupTblException : public std::runtime_error {
public:
    explicit ELookupTblException(const std::string& message) : std::runtime_error(message) {}
};

} // namespace olv
