#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace olv {
namespace {

[[noreturn]] void ThrowErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// Closes the descriptor and removes the temporary file unless the save was committed.
class TempFileGuard {
public:
    TempFileGuard(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    ~TempFileGuard() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!committed_)
            ::unlink(path_.c_str());
    }
    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }
    void CloseOrThrow() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            ThrowErrno("Unable to write " + path_);
    }
    void Commit() { committed_ = true; }

private:
    int fd_;
    std::string path_;
    bool committed_ = false;
};

void WriteAll(int fd, std::string_view text, const std::string& path) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno("Unable to write " + path);
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
}

} // namespace

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    std::string contents;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        contents.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            throw std::system_error(error, std::generic_category(), "Unable to read " + path);
        }
        contents.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    text = std::move(contents);
    return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string LinkTarget(const std::string& path) {
    std::string target = path;
    char buffer[PATH_MAX];
    // A loop of links ends where the kernel would give up too.
    for (int hops = 0; hops < 40; ++hops) {
        const ssize_t n = ::readlink(target.c_str(), buffer, sizeof buffer);
        if (n < 0 || static_cast<size_t>(n) >= sizeof buffer)
            break;
        const std::string link(buffer, static_cast<size_t>(n));
        target = link.front() == '/' ? link : FolderOf(target) + link;
    }
    return target;
}

bool IsSaveTempName(std::string_view name, std::string_view& base) {
    constexpr size_t kSuffix = 7; // "." and mkstemp's six characters
    if (name.size() <= kSuffix || name[name.size() - kSuffix] != '.')
        return false;
    const std::string_view suffix = name.substr(name.size() - kSuffix + 1);
    if (!std::all_of(suffix.begin(), suffix.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
        return false;
    base = name.substr(0, name.size() - kSuffix);
    return true;
}

void SaveFileAtomically(const std::string& linkOrPath, std::string_view text, mode_t newFileMode) {
    const std::string path = LinkTarget(linkOrPath);
    mode_t mode = newFileMode;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;

    std::string pattern = path + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        ThrowErrno("Unable to create " + path);
    TempFileGuard temp(fd, pattern);
    WriteAll(temp.Fd(), text, path);
    if (::fchmod(temp.Fd(), mode) != 0 || ::fsync(temp.Fd()) != 0)
        ThrowErrno("Unable to write " + path);
    temp.CloseOrThrow();
    if (::rename(temp.Path().c_str(), path.c_str()) != 0)
        ThrowErrno("Unable to replace " + path);
    temp.Commit();
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace olv
