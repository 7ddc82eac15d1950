#include "support/http/HttpTestResponse.h"

namespace olv::test {

HttpTestResponse HttpTestResponse::Ok(std::string body, std::string contentType) {
    HttpTestResponse response;
    response.Header("Content-Type", std::move(contentType));
    response.Header("Content-Length", std::to_string(body.size()));
    response.body = std::move(body);
    return response;
}

HttpTestResponse HttpTestResponse::Status(int code, const std::string& reason, std::string body) {
    HttpTestResponse response;
    response.statusLine = "HTTP/1.0 " + std::to_string(code) + " " + reason;
    response.body = std::move(body);
    return response;
}

HttpTestResponse HttpTestResponse::Redirect(const std::string& location, int code) {
    HttpTestResponse response = Status(code, code == 301 ? "Moved Permanently" : "Found");
    response.Header("Location", location);
    return response;
}

HttpTestResponse HttpTestResponse::Tunnel() {
    HttpTestResponse response;
    response.tunnel = true;
    return response;
}

HttpTestResponse& HttpTestResponse::Header(std::string name, std::string value) {
    headers.emplace_back(std::move(name), std::move(value));
    return *this;
}

std::string HttpTestResponse::Head() const {
    if (!rawHead.empty())
        return rawHead;
    std::string head = statusLine + "\r\n";
    for (const auto& [name, value] : headers)
        head += name + ": " + value + "\r\n";
    return head + "\r\n";
}

} // namespace olv::test
