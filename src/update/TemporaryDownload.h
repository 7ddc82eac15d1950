#pragma once

#include <string>

namespace olv {

// A file of its own beside target ("Olvenar.chl.k3Xw9a") for a download to land in, so that the
// target is only touched once the download has proven good. Removed with the object.
class TemporaryDownload {
public:
    explicit TemporaryDownload(const std::string& target);
    ~TemporaryDownload();
    TemporaryDownload(const TemporaryDownload&) = delete;
    TemporaryDownload& operator=(const TemporaryDownload&) = delete;

    // Empty when no file could be made beside the target; Problem() then says why.
    const std::string& Path() const { return path_; }
    const std::string& Problem() const { return problem_; }

private:
    std::string path_;
    std::string problem_;
};

} // namespace olv
