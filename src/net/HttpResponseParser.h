#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace olv {

// Reads the header block of one HTTP response from bytes as they arrive, in pieces of any
// size. Knows nothing of sockets, so it can be fed any input; it never reads past the empty
// line that ends the block, leaving the body to the caller.
class HttpResponseParser {
public:
    // A header line longer than this (its line end not counted) fails with "HTTP line too long".
    static constexpr size_t kMaxLineLength = 8193;

    // Consumes header bytes and returns how many it used; stops after the empty line that
    // ends the block. Throws EHttpError "HTTP line too long", or "Invalid HTTP response" when
    // the first line is not an HTTP/1.0 or HTTP/1.1 status line.
    size_t Feed(std::string_view bytes);

    // The server closed the connection: a pending unfinished line counts as complete.
    void Finish();

    bool Complete() const { return complete_; }

    int StatusCode() const { return statusCode_; }
    const std::string& ReasonPhrase() const { return reasonPhrase_; }
    int64_t ContentLength() const { return contentLength_; }        // -1 when none was announced
    const std::string& ContentType() const { return contentType_; } // lower-cased
    const std::string& Location() const { return location_; }
    const std::string& TransferEncoding() const { return transferEncoding_; } // lower-cased

private:
    void TakeLine(std::string_view line);
    void TakeStatusLine(std::string_view line);
    void TakeHeader(std::string_view line);

    std::string line_;
    bool statusSeen_ = false;
    bool complete_ = false;
    int statusCode_ = 0;
    std::string reasonPhrase_;
    int64_t contentLength_ = -1;
    std::string contentType_;
    std::string location_;
    std::string transferEncoding_;
};

} // namespace olv
