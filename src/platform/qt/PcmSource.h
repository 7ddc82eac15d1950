#pragma once

#include <QIODevice>
#include <cstddef>
#include <deque>
#include <vector>

namespace olv {

// The queue an audio sink pulls PCM from: bytes are appended by the program and read by the
// sink, both on the main thread. Reading an empty queue gives nothing (the sink goes idle).
// Kept as the pieces it was given: speech arrives far ahead of playing (tens of seconds at a
// time), and one growing buffer would be copied and reallocated on the main thread each time.
class PcmSource final : public QIODevice {
public:
    void Append(const char* data, size_t size);
    void Clear();
    size_t Pending() const { return pending_; }

    // Always unbuffered: QIODevice's own read-ahead would keep bytes that Clear cannot reach,
    // and a reset sink would play them again.
    bool open(OpenMode mode) override { return QIODevice::open(mode | Unbuffered); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    std::deque<std::vector<char>> pieces_;
    size_t readPos_ = 0; // in the first piece
    size_t pending_ = 0;
};

} // namespace olv
