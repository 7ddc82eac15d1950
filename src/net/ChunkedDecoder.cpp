#include "net/ChunkedDecoder.h"

#include "net/EHttpError.h"
#include "util/Strings.h"

#include <algorithm>
#include <charconv>

namespace olv {
namespace {

// A size line is a few hex digits and perhaps an extension; anything longer is not framing.
constexpr size_t kMaxLineLength = 1024;
constexpr const char* kInvalid = "Invalid chunked encoding";

uint64_t ChunkSize(std::string_view line) {
    const std::string_view digits = TrimView(line.substr(0, line.find(';')));
    uint64_t size = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), size, 16);
    if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size())
        throw EHttpError(kInvalid);
    return size;
}

} // namespace

void ChunkedDecoder::Feed(std::string_view bytes, const Sink& sink) {
    while (!bytes.empty() && state_ != State::Done) {
        if (state_ == State::Data) {
            const size_t take = static_cast<size_t>(std::min<uint64_t>(remaining_, bytes.size()));
            sink(bytes.substr(0, take));
            bytes.remove_prefix(take);
            remaining_ -= take;
            if (remaining_ == 0)
                state_ = State::DataEnd;
        } else if (TakeLine(bytes)) {
            EndLine();
        }
    }
}

bool ChunkedDecoder::TakeLine(std::string_view& bytes) {
    const auto end = bytes.find('\n');
    line_.append(bytes.substr(0, end));
    if (line_.size() > kMaxLineLength)
        throw EHttpError(kInvalid);
    if (end == std::string_view::npos) {
        bytes = {};
        return false;
    }
    bytes.remove_prefix(end + 1);
    if (EndsWith(line_, "\r"))
        line_.pop_back();
    return true;
}

void ChunkedDecoder::EndLine() {
    if (state_ == State::DataEnd) {
        // The line end after a chunk's data; anything else means the sizes were wrong.
        if (!line_.empty())
            throw EHttpError(kInvalid);
        state_ = State::Size;
    } else {
        remaining_ = ChunkSize(line_);
        state_ = remaining_ == 0 ? State::Done : State::Data;
    }
    line_.clear();
}

} // namespace olv
