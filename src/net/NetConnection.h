#pragma once

#include "net/SocketWaiter.h"
#include "net/UniqueFd.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct addrinfo;
typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

namespace olv {

// One TCP connection of the HTTP client, optionally secured with TLS. Every call waits
// through the waiter, so events keep running and an abort or the idle timeout ends it.
// Failures throw EHttpError with the text the user sees.
class NetConnection {
public:
    explicit NetConnection(SocketWaiter& waiter);
    ~NetConnection();
    NetConnection(const NetConnection&) = delete;
    NetConnection& operator=(const NetConnection&) = delete;

    // Fails with "can't resolve hostname to IP address", or with the socket error of the last
    // address tried: "Connection refused (Error #111)".
    void Connect(const std::string& host, const std::string& port);

    // TLS handshake over the open connection. The server's certificate must chain to the
    // system store (which honours SSL_CERT_FILE and SSL_CERT_DIR) or to caFile when given, and
    // must name host; otherwise "Certificate of <host> could not be verified: <reason>".
    void StartTls(const std::string& host, const std::string& caFile);

    void Send(std::string_view data);
    // Reads up to size bytes; 0 once the server has closed the connection.
    size_t Receive(char* buffer, size_t size);
    // False once a TLS server has closed without its close notice, so what came may be cut.
    bool ClosedCleanly() const { return closedCleanly_; }

private:
    bool TryConnect(const addrinfo& address, int& error);
    void ConfigureTls(const std::string& host, const std::string& caFile);
    // Waits as the last TLS call asked; false when the call failed for good.
    bool WaitForTls(int result);
    [[noreturn]] void ThrowTlsError(const std::string& host) const;

    struct SslFree {
        void operator()(SSL* ssl) const;
        void operator()(SSL_CTX* context) const;
    };

    SocketWaiter& waiter_;
    UniqueFd socket_;
    std::unique_ptr<SSL_CTX, SslFree> context_;
    std::unique_ptr<SSL, SslFree> ssl_;
    std::string tlsHost_;
    bool closedCleanly_ = true;
};

} // namespace olv
