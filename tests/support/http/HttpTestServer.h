#pragma once

#include "net/UniqueFd.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

typedef struct ssl_ctx_st SSL_CTX;

namespace olv::test {

// One request as the loopback test server received it.
struct HttpTestRequest {
    std::string method; // "GET", "CONNECT", ...
    std::string target; // path and query, the whole URL of a proxy request, host:port of CONNECT
    std::string raw;    // the request head exactly as received, through its empty line

    // The first value of the header name (compared without case); "" when absent.
    std::string Header(std::string_view name) const;
};

// What the server answers to one request: any head (or none), a slow, cut-off or endless body.
struct HttpTestResponse {
    std::string head = "HTTP/1.0 200 OK\r\n\r\n"; // status line, headers and empty line, as sent
    std::string body;
    std::chrono::milliseconds delayBefore{0}; // silence before the first byte
    size_t pieceSize = 0;                     // the body in pieces of this size; 0 for one piece
    std::chrono::milliseconds delayBetweenPieces{0};
    bool endless = false;         // after the body, more of it (or 'x's) until the client goes
    bool tunnel = false;          // CONNECT: answer 200 and relay to the port requested
    bool skipCloseNotify = false; // TLS: end the connection without the close notice

    // 200 with Content-Type and Content-Length.
    static HttpTestResponse Ok(std::string body, const std::string& contentType = "text/html");
    // "HTTP/1.0 <code> <reason>" with an optional body (no Content-Length).
    static HttpTestResponse Status(int code, const std::string& reason, std::string body = {});
    static HttpTestResponse Tunnel() {
        HttpTestResponse response;
        response.tunnel = true;
        return response;
    }

    // Adds a header line to the head.
    HttpTestResponse& Header(const std::string& name, const std::string& value);
};

// A loopback HTTP server for tests, on 127.0.0.1 and a port of the system's choice, running on
// a thread of its own. The handler decides every answer; each request is recorded before it
// runs. Connections are served one after another and closed after their answer; a delay ends
// early when the client gives up, and the destructor ends whatever is in progress.
//
//     HttpTestServer server([](const HttpTestRequest& request) {
//         return HttpTestResponse::Ok("<html>" + request.target + "</html>");
//     });
//     client.URL = server.Url("/page");
class HttpTestServer {
public:
    using Handler = std::function<HttpTestResponse(const HttpTestRequest&)>;

    explicit HttpTestServer(Handler handler);
    // HTTPS with the certificate and key of certs/<certificate>.pem, both issued by the test
    // CA: "localhost" (for localhost and 127.0.0.1) or "weather.example".
    HttpTestServer(Handler handler, const std::string& certificate);
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    // The test CA's certificate file, for HttpCli::CaFile or SSL_CERT_FILE.
    static std::string CaFile();

    uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" + path, or "https://localhost:<port>" + path for TLS.
    std::string Url(const std::string& path = "/") const;

    void SetHandler(Handler handler);
    size_t RequestCount() const;
    // The latest request; an empty one when none came.
    HttpTestRequest LastRequest() const;

private:
    void Start();
    void Run();
    void Serve(int client);

    std::unique_ptr<SSL_CTX, void (*)(SSL_CTX*)> tls_{nullptr, nullptr};
    UniqueFd listener_;
    uint16_t port_ = 0;
    mutable std::mutex mutex_; // guards what follows
    bool stopping_ = false;
    int client_ = -1; // the connection being served
    Handler handler_;
    std::vector<HttpTestRequest> requests_;
    std::thread thread_;
};

} // namespace olv::test
