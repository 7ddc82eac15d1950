#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace olv {

// Writes a file under a temporary name beside its target and renames it over the target only
// on Commit, so that a crash, a full disk or an abandoned conversion never leaves a half-written
// file in place of the old one. Unlike SaveFileAtomically it streams: long recordings are never
// held in memory. Destroying it without Commit removes the temporary file.
class TAtomicFileWriter {
public:
    // Creates the temporary file; throws std::system_error ("Unable to create <path>: ...").
    explicit TAtomicFileWriter(std::string path);
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;
    ~TAtomicFileWriter();

    // Appends bytes; throws std::system_error ("Unable to write <path>: ...").
    void Write(const void* data, size_t size);
    // Overwrites bytes already written (a header whose sizes are known only at the end).
    void WriteAt(uint64_t offset, const void* data, size_t size);
    // Writes what is buffered, syncs and renames over the target. A new file gets mode 0644,
    // an existing one keeps its mode. Throws std::system_error; the old file then stays.
    void Commit();

    const std::string& Path() const { return path_; }
    uint64_t Size() const { return size_; }

private:
    void FlushBuffer();
    void WriteAll(const char* next, size_t left);
    void Discard() noexcept;

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    std::vector<char> buffer_;
    uint64_t size_ = 0;
};

} // namespace olv
