#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace olv {

// Writes an output file without ever destroying what it does not own.
//
// A regular file (or a new one) is written under a temporary name beside it and renamed over
// it only on Commit, so that a crash, a full disk or an abandoned recording never leaves a
// half-written file in place of the old one; a symbolic link is followed, so the link stays
// and the file it names is replaced. A pipe or a character device (a FIFO, /dev/null, a
// terminal) is written to directly, as a stream: it is never renamed over or replaced. Folders
// and anything else are refused. Unlike SaveFileAtomically it streams: long recordings are
// never held in memory. Destroying it without Commit removes the temporary file.
//
// Failures throw EAudioFileError with a message for the user ("... is a folder, not a file",
// "There is not enough disk space to write ...").
class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(std::string path);
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;
    ~TAtomicFileWriter();

    void Write(const void* data, size_t size);
    // Overwrites bytes already written (a header whose sizes are known only at the end).
    // Not for streams.
    void WriteAt(uint64_t offset, const void* data, size_t size);
    // Writes what is buffered; a file is synced and renamed over the target (a new file gets
    // mode 0644, an existing one keeps its mode). On failure the old file stays.
    void Commit();

    const std::string& Path() const { return path_; }
    uint64_t Size() const { return size_; }
    // Written straight into a pipe or a device: nothing can be rewritten or taken back.
    bool IsStream() const { return stream_; }

    // The user's message for a failure (an errno value) to write path.
    static std::string FailureText(int error, const std::string& path);

private:
    void OpenStream();
    void OpenTemporary(const std::string& target);
    void FlushBuffer();
    void WriteAll(const char* next, size_t left);
    void Discard() noexcept;
    [[noreturn]] void Fail(int error) const;

    std::string path_;
    std::string target_; // the regular file replaced on Commit (a link's file, not the link)
    std::string tempPath_;
    int fd_ = -1;
    bool stream_ = false;
    std::vector<char> buffer_;
    uint64_t size_ = 0;
};

} // namespace olv
