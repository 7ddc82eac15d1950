#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace olv::test {

// What the loopback test server answers to one request. Anything goes: any status line and
// headers, a raw head of any shape, a slow or endless body, or no answer at all.
struct HttpTestResponse {
    std::string statusLine = "HTTP/1.0 200 OK";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // When set, sent in place of the status line, the headers and the empty line.
    std::string rawHead;

    std::chrono::milliseconds delayBefore{0}; // silence before the first byte
    size_t chunkSize = 0;                     // body in pieces of this size; 0 for one piece
    std::chrono::milliseconds delayBetweenChunks{0};
    bool endless = false;            // after the body, more of it (or 'x's) until the client goes
    bool closeWithoutAnswer = false; // close the connection after delayBefore, sending nothing
    bool tunnel = false;             // CONNECT: answer 200 and relay to the requested host:port

    // 200 with Content-Type and Content-Length.
    static HttpTestResponse Ok(std::string body, std::string contentType = "text/html");
    // "HTTP/1.0 <code> <reason>" with an optional body (no Content-Length).
    static HttpTestResponse Status(int code, const std::string& reason, std::string body = {});
    // A relocation with a Location header.
    static HttpTestResponse Redirect(const std::string& location, int code = 302);
    static HttpTestResponse Tunnel();

    HttpTestResponse& Header(std::string name, std::string value);
    // The head as sent: rawHead, or the status line and headers with CR LF line ends.
    std::string Head() const;
};

} // namespace olv::test
