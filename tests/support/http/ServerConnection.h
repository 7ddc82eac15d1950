#pragma once

#include "net/UniqueFd.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

namespace olv::test {

// The test server's side of one accepted connection, plain or TLS. Every wait is cut into
// short slices that watch the server's stop flag, so the server always shuts down promptly.
class ServerConnection {
public:
    ServerConnection(UniqueFd socket, SSL_CTX* tls, const std::atomic<bool>& stopping);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // The TLS handshake (true at once for a plain connection); false when it failed.
    bool Accept();
    // Reads a request head through its empty line; false when the client went or sent junk.
    bool ReadHead(std::string& head);
    // False when the client has gone.
    bool Send(std::string_view data);
    // Waits; false at once when the server is stopping or the client has closed.
    bool Pause(std::chrono::milliseconds duration) const;
    // Relays bytes both ways between the client and target until either side closes.
    void Relay(const UniqueFd& target);

private:
    bool Wait(int fd, short events) const;
    bool WaitForTls(int result) const;
    long ReceiveSome(char* buffer, size_t size);
    bool SendRaw(int fd, std::string_view data) const;

    UniqueFd socket_;
    struct SslFree {
        void operator()(SSL* ssl) const;
    };
    std::unique_ptr<SSL, SslFree> ssl_;
    const std::atomic<bool>& stopping_;
};

} // namespace olv::test
