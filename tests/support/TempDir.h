#pragma once

#include <filesystem>
#include <string>

namespace olv::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::filesystem::path& Path() const { return path_; }
    // The folder with a trailing '/', ready to prepend to a file name.
    std::string Folder() const { return path_.string() + "/"; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

    void Write(const std::string& name, const std::string& contents) const;
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

} // namespace olv::test
