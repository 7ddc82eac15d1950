#include "support/http/ServerConnection.h"

#include <cerrno>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>

namespace olv::test {
namespace {

constexpr int kSliceMs = 20;
// A client that says nothing for this long is dropped.
constexpr std::chrono::seconds kClientPatience{20};
constexpr size_t kMaxHead = 65536;

bool WouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

} // namespace

void ServerConnection::SslFree::operator()(SSL* ssl) const {
    SSL_free(ssl);
}

ServerConnection::ServerConnection(UniqueFd socket, SSL_CTX* tls, const std::atomic<bool>& stopping)
    : socket_(std::move(socket)), stopping_(stopping) {
    if (tls) {
        ssl_.reset(SSL_new(tls));
        SSL_set_fd(ssl_.get(), socket_.Get());
    }
}

ServerConnection::~ServerConnection() {
    if (ssl_ && SSL_is_init_finished(ssl_.get()))
        SSL_shutdown(ssl_.get());
    ::shutdown(socket_.Get(), SHUT_WR);
}

bool ServerConnection::Wait(int fd, short events) const {
    const auto deadline = std::chrono::steady_clock::now() + kClientPatience;
    while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
        pollfd entry{fd, events, 0};
        if (::poll(&entry, 1, kSliceMs) > 0)
            return true;
    }
    return false;
}

bool ServerConnection::WaitForTls(int result) const {
    switch (SSL_get_error(ssl_.get(), result)) {
    case SSL_ERROR_WANT_READ:
        return Wait(socket_.Get(), POLLIN);
    case SSL_ERROR_WANT_WRITE:
        return Wait(socket_.Get(), POLLOUT);
    default:
        return false;
    }
}

bool ServerConnection::Accept() {
    if (!ssl_)
        return true;
    for (;;) {
        const int result = SSL_accept(ssl_.get());
        if (result == 1)
            return true;
        if (!WaitForTls(result))
            return false;
    }
}

long ServerConnection::ReceiveSome(char* buffer, size_t size) {
    for (;;) {
        if (ssl_) {
            const int got = SSL_read(ssl_.get(), buffer, static_cast<int>(size));
            if (got > 0)
                return got;
            if (!WaitForTls(got))
                return 0;
            continue;
        }
        const ssize_t got = ::recv(socket_.Get(), buffer, size, 0);
        if (got >= 0)
            return got;
        if (!WouldBlock() || !Wait(socket_.Get(), POLLIN))
            return 0;
    }
}

// Reads a byte at a time so that nothing after the head (a tunnelled handshake) is taken.
bool ServerConnection::ReadHead(std::string& head) {
    head.clear();
    while (head.size() < kMaxHead) {
        char byte = 0;
        if (ReceiveSome(&byte, 1) != 1)
            return false;
        head += byte;
        if (head.size() >= 2 && head.compare(head.size() - 2, 2, "\n\n") == 0)
            return true;
        if (head.size() >= 4 && head.compare(head.size() - 4, 4, "\r\n\r\n") == 0)
            return true;
    }
    return false;
}

bool ServerConnection::Send(std::string_view data) {
    if (!ssl_)
        return SendRaw(socket_.Get(), data);
    while (!data.empty()) {
        const int sent = SSL_write(ssl_.get(), data.data(), static_cast<int>(data.size()));
        if (sent > 0)
            data.remove_prefix(static_cast<size_t>(sent));
        else if (!WaitForTls(sent))
            return false;
    }
    return true;
}

bool ServerConnection::Pause(std::chrono::milliseconds duration) const {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (!stopping_ && std::chrono::steady_clock::now() < end) {
        pollfd entry{socket_.Get(), POLLRDHUP, 0};
        if (::poll(&entry, 1, 5) > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR)))
            return false; // the client has given up: serve the next one
    }
    return !stopping_;
}

bool ServerConnection::SendRaw(int fd, std::string_view data) const {
    while (!data.empty()) {
        const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (!WouldBlock() || !Wait(fd, POLLOUT))
                return false;
            continue;
        }
        data.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

void ServerConnection::Relay(const UniqueFd& target) {
    char buffer[16384];
    while (!stopping_) {
        pollfd entries[2] = {{socket_.Get(), POLLIN, 0}, {target.Get(), POLLIN, 0}};
        if (::poll(entries, 2, kSliceMs) <= 0)
            continue;
        for (int side = 0; side < 2; ++side) {
            if (!(entries[side].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const int from = entries[side].fd;
            const int to = entries[1 - side].fd;
            const ssize_t got = ::recv(from, buffer, sizeof buffer, 0);
            if (got < 0 && WouldBlock())
                continue;
            if (got <= 0 || !SendRaw(to, std::string_view(buffer, static_cast<size_t>(got))))
                return;
        }
    }
}

} // namespace olv::test
