#include "platform/qt/PcmSource.h"

#include <algorithm>
#include <cstring>

namespace olv {

void PcmSource::Append(const char* data, size_t size) {
    // Drop what was read once it is most of the buffer, so the buffer does not grow forever.
    if (readPos_ > 0 && readPos_ >= buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(readPos_));
        readPos_ = 0;
    }
    buffer_.insert(buffer_.end(), data, data + size);
    // A sink that ran dry waits for this before it reads again.
    emit readyRead();
}

void PcmSource::Clear() {
    buffer_.clear();
    readPos_ = 0;
}

qint64 PcmSource::bytesAvailable() const {
    return static_cast<qint64>(Pending()) + QIODevice::bytesAvailable();
}

qint64 PcmSource::readData(char* data, qint64 maxSize) {
    size_t count = std::min(Pending(), static_cast<size_t>(std::max<qint64>(0, maxSize)));
    if (count == 0)
        return 0;
    std::memcpy(data, buffer_.data() + readPos_, count);
    readPos_ += count;
    return static_cast<qint64>(count);
}

qint64 PcmSource::writeData(const char*, qint64) {
    return -1;
}

} // namespace olv
