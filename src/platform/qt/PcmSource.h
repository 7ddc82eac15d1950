#pragma once

#include <QIODevice>
#include <cstddef>
#include <vector>

namespace olv {

// The queue an audio sink pulls PCM from: bytes are appended by the program and read by the
// sink, both on the main thread. Reading an empty queue gives nothing (the sink goes idle).
class PcmSource final : public QIODevice {
public:
    void Append(const char* data, size_t size);
    void Clear();
    size_t Pending() const { return buffer_.size() - readPos_; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    std::vector<char> buffer_;
    size_t readPos_ = 0;
};

} // namespace olv
