#pragma once

#include "net/UniqueFd.h"
#include "support/http/HttpTestRequest.h"
#include "support/http/HttpTestResponse.h"
#include "support/http/TestCertificates.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

typedef struct ssl_ctx_st SSL_CTX;

namespace olv::test {

// A loopback HTTP/1.0-1.1 server for tests, on 127.0.0.1 and a port of the system's choice,
// running on a thread of its own. The handler decides every answer; each request is recorded
// before it runs. Connections are served one after another, so the handler never runs twice
// at once; each is closed after its answer, and a delay ends early when the client gives up.
// The TLS variant presents the certificate given (see TestCertificates).
//
//     HttpTestServer server([](const HttpTestRequest& request) {
//         return HttpTestResponse::Ok("<html>" + request.target + "</html>");
//     });
//     client.URL = server.Url("/page");
class HttpTestServer {
public:
    using Handler = std::function<HttpTestResponse(const HttpTestRequest&)>;

    explicit HttpTestServer(Handler handler);
    HttpTestServer(Handler handler, const TestCertificate& certificate);
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" + path, or "https://localhost:<port>" + path for TLS.
    std::string Url(const std::string& path = "/") const;

    void SetHandler(Handler handler);
    size_t RequestCount() const;
    // The latest request; an empty one when none came.
    HttpTestRequest LastRequest() const;

private:
    // Listens on a free loopback port and starts serving.
    void Start();
    void Run();
    void Serve(UniqueFd client);
    void Answer(class ServerConnection& connection, const HttpTestResponse& response);
    void OpenTunnel(ServerConnection& connection, const std::string& target);
    HttpTestResponse Handle(const HttpTestRequest& request);

    struct ContextFree {
        void operator()(SSL_CTX* context) const;
    };

    std::unique_ptr<SSL_CTX, ContextFree> tls_;
    UniqueFd listener_;
    UniqueFd wake_;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    Handler handler_;
    std::vector<HttpTestRequest> requests_;
    std::thread thread_;
};

} // namespace olv::test
