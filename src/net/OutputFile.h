#pragma once

#include "net/UniqueFd.h"

#include <string>
#include <string_view>

namespace olv {

// The file a download is written into, block by block as it arrives.
class OutputFile {
public:
    // Creates path, replacing any existing file but never writing through a symbolic link.
    // On failure returns false and the system's error message is in ErrorMessage().
    bool Create(const std::string& path);
    // Both throw std::runtime_error "Unable to write <path> - <system message>" (a full disk).
    void Write(std::string_view block);
    void Close();

    const std::string& ErrorMessage() const { return errorMessage_; }

private:
    [[noreturn]] void ThrowWriteError(int error) const;

    UniqueFd fd_;
    std::string path_;
    std::string errorMessage_;
};

} // namespace olv
