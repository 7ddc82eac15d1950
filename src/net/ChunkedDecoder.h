#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace olv {

// Undoes "Transfer-Encoding: chunked" on a body that arrives in pieces of any size. We ask in
// HTTP/1.0, which has no chunks, but a server may send them anyway; their framing must never
// reach the page.
class ChunkedDecoder {
public:
    using Sink = std::function<void(std::string_view data)>;

    // Hands the data in bytes to sink; what follows the last chunk (trailers) is of no use and
    // ignored. Throws EHttpError "Invalid chunked encoding" when the framing is broken.
    void Feed(std::string_view bytes, const Sink& sink);

    // The last (empty) chunk has arrived: the body is complete.
    bool Done() const { return state_ == State::Done; }

private:
    enum class State { Size, Data, DataEnd, Done };

    // Collects a line across pieces; true once it is whole (in line_, without its line end).
    bool TakeLine(std::string_view& bytes);
    void EndLine();

    State state_ = State::Size;
    std::string line_;
    uint64_t remaining_ = 0;
};

} // namespace olv
