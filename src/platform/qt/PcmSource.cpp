#include "platform/qt/PcmSource.h"

#include <algorithm>
#include <cstring>

namespace olv {

void PcmSource::Append(const char* data, size_t size) {
    if (size == 0)
        return;
    pieces_.emplace_back(data, data + size);
    pending_ += size;
    // A sink that ran dry waits for this before it reads again.
    emit readyRead();
}

void PcmSource::Clear() {
    pieces_.clear();
    readPos_ = 0;
    pending_ = 0;
}

qint64 PcmSource::bytesAvailable() const {
    return static_cast<qint64>(Pending()) + QIODevice::bytesAvailable();
}

qint64 PcmSource::readData(char* data, qint64 maxSize) {
    size_t wanted = std::min(pending_, static_cast<size_t>(std::max<qint64>(0, maxSize)));
    size_t count = 0;
    while (count < wanted) {
        const std::vector<char>& piece = pieces_.front();
        const size_t take = std::min(piece.size() - readPos_, wanted - count);
        std::memcpy(data + count, piece.data() + readPos_, take);
        count += take;
        readPos_ += take;
        if (readPos_ == piece.size()) {
            pieces_.pop_front();
            readPos_ = 0;
        }
    }
    pending_ -= count;
    return static_cast<qint64>(count);
}

qint64 PcmSource::writeData(const char*, qint64) {
    return -1;
}

} // namespace olv
