#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace olv::test {

// One request as the loopback test server received it.
struct HttpTestRequest {
    std::string method;  // "GET", "CONNECT", ...
    std::string target;  // path and query, the whole URL of a proxy request, host:port of CONNECT
    std::string version; // "HTTP/1.0"
    std::vector<std::pair<std::string, std::string>> headers; // in order, as sent
    std::string raw; // the request head exactly as received, through its empty line

    // The first value of the header name (compared without case); "" when absent.
    std::string Header(std::string_view name) const;
    bool HasHeader(std::string_view name) const;

    // Splits a request head; false when its first line is not "METHOD target version".
    static bool Parse(const std::string& raw, HttpTestRequest& request);
};

} // namespace olv::test
