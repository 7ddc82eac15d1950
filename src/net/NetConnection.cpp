#include "net/NetConnection.h"

#include "net/EHttpError.h"
#include "net/NameLookup.h"
#include "util/Strings.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <netdb.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>

namespace olv {
namespace {

std::string SocketErrorText(int error) {
    return std::string(std::strerror(error)) + " (Error #" + Decimal(error) + ")";
}

// OpenSSL writes to the socket with write(), which raises SIGPIPE when the server has gone;
// that must not end the program. Blocks the signal around a TLS call and swallows one
// raised meanwhile, leaving the process's signal handling as it was.
class SigPipeBlock {
public:
    SigPipeBlock() {
        sigemptyset(&pipeOnly_);
        sigaddset(&pipeOnly_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeOnly_, &previous_);
    }
    ~SigPipeBlock() {
        if (!wasPending_) {
            const timespec noWait{};
            while (sigtimedwait(&pipeOnly_, nullptr, &noWait) > 0) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    SigPipeBlock(const SigPipeBlock&) = delete;
    SigPipeBlock& operator=(const SigPipeBlock&) = delete;

private:
    sigset_t pipeOnly_;
    sigset_t previous_;
    bool wasPending_ = false;
};

bool IsIpAddress(const std::string& host) {
    unsigned char address[sizeof(in6_addr)];
    return inet_pton(AF_INET, host.c_str(), address) == 1 ||
           inet_pton(AF_INET6, host.c_str(), address) == 1;
}

// The server closed the connection without the TLS close notice: the end of the data, but
// perhaps a cut one, which only the announced length can tell.
bool IsUnexpectedEof(int sslError) {
    return sslError == SSL_ERROR_SSL &&
           ERR_GET_REASON(ERR_peek_last_error()) == SSL_R_UNEXPECTED_EOF_WHILE_READING;
}

std::string OpenSslReason() {
    const unsigned long code = ERR_peek_last_error();
    if (code == 0)
        return "the connection was closed";
    const char* reason = ERR_reason_error_string(code);
    return reason ? reason : "error " + Decimal(static_cast<int64_t>(code));
}

} // namespace

void NetConnection::SslFree::operator()(SSL* ssl) const {
    SSL_free(ssl);
}
void NetConnection::SslFree::operator()(SSL_CTX* context) const {
    SSL_CTX_free(context);
}

NetConnection::NetConnection(SocketWaiter& waiter) : waiter_(waiter) {}

NetConnection::~NetConnection() {
    // After an unclean end the session has failed, and OpenSSL forbids a goodbye on it.
    if (ssl_ && closedCleanly_ && SSL_is_init_finished(ssl_.get())) {
        SigPipeBlock noSigPipe;
        SSL_shutdown(ssl_.get()); // tells the server we are done; its answer is not awaited
    }
}

void NetConnection::Connect(const std::string& host, const std::string& port) {
    NameLookup lookup(host, port);
    while (!lookup.Done())
        waiter_.WaitFor(lookup.ReadyFd(), POLLIN);
    if (!lookup.Succeeded())
        throw EHttpError("can't resolve hostname to IP address");
    int error = ECONNREFUSED;
    for (const addrinfo* address = lookup.Addresses(); address; address = address->ai_next)
        if (TryConnect(*address, error))
            return;
    throw EHttpError(SocketErrorText(error));
}

bool NetConnection::TryConnect(const addrinfo& address, int& error) {
    UniqueFd fd(::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                         address.ai_protocol));
    if (!fd.Valid()) {
        error = errno;
        return false;
    }
    if (::connect(fd.Get(), address.ai_addr, address.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) {
            error = errno;
            return false;
        }
        waiter_.WaitFor(fd.Get(), POLLOUT);
        int result = 0;
        socklen_t length = sizeof result;
        if (::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &result, &length) != 0)
            result = errno;
        if (result != 0) {
            error = result;
            return false;
        }
    }
    socket_ = std::move(fd);
    return true;
}

void NetConnection::StartTls(const std::string& host, const std::string& caFile) {
    ConfigureTls(host, caFile);
    for (;;) {
        ERR_clear_error();
        int result = 0;
        {
            SigPipeBlock noSigPipe;
            result = SSL_connect(ssl_.get());
        }
        if (result == 1)
            return;
        if (!WaitForTls(result))
            ThrowTlsError(host);
    }
}

void NetConnection::ConfigureTls(const std::string& host, const std::string& caFile) {
    tlsHost_ = host;
    context_.reset(SSL_CTX_new(TLS_client_method()));
    if (!context_)
        throw EHttpError("Secure connection to " + host + " failed: " + OpenSslReason());
    SSL_CTX_set_min_proto_version(context_.get(), TLS1_2_VERSION);
    SSL_CTX_set_default_verify_paths(context_.get());
    if (!caFile.empty() &&
        SSL_CTX_load_verify_locations(context_.get(), caFile.c_str(), nullptr) != 1)
        throw EHttpError("Unable to read the certificate file " + caFile);
    SSL_CTX_set_verify(context_.get(), SSL_VERIFY_PEER, nullptr);

    ssl_.reset(SSL_new(context_.get()));
    if (!ssl_ || SSL_set_fd(ssl_.get(), socket_.Get()) != 1)
        throw EHttpError("Secure connection to " + host + " failed: " + OpenSslReason());
    if (IsIpAddress(host)) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_.get()), host.c_str());
    } else {
        SSL_set_tlsext_host_name(ssl_.get(), host.c_str());
        SSL_set1_host(ssl_.get(), host.c_str());
    }
}

bool NetConnection::WaitForTls(int result) {
    switch (SSL_get_error(ssl_.get(), result)) {
    case SSL_ERROR_WANT_READ:
        waiter_.WaitFor(socket_.Get(), POLLIN);
        return true;
    case SSL_ERROR_WANT_WRITE:
        waiter_.WaitFor(socket_.Get(), POLLOUT);
        return true;
    default:
        return false;
    }
}

void NetConnection::ThrowTlsError(const std::string& host) const {
    const long verifyResult = SSL_get_verify_result(ssl_.get());
    if (verifyResult != X509_V_OK)
        throw EHttpError("Certificate of " + host +
                         " could not be verified: " + X509_verify_cert_error_string(verifyResult));
    throw EHttpError("Secure connection to " + host + " failed: " + OpenSslReason());
}

void NetConnection::Send(std::string_view data) {
    while (!data.empty()) {
        ssize_t sent = 0;
        if (ssl_) {
            ERR_clear_error();
            {
                SigPipeBlock noSigPipe;
                sent = SSL_write(ssl_.get(), data.data(), static_cast<int>(data.size()));
            }
            if (sent <= 0) {
                if (!WaitForTls(static_cast<int>(sent)))
                    ThrowTlsError(tlsHost_);
                continue;
            }
        } else {
            sent = ::send(socket_.Get(), data.data(), data.size(), MSG_NOSIGNAL);
            if (sent < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
                    waiter_.WaitFor(socket_.Get(), POLLOUT);
                    continue;
                }
                throw EHttpError(SocketErrorText(errno));
            }
        }
        data.remove_prefix(static_cast<size_t>(sent));
    }
}

size_t NetConnection::Receive(char* buffer, size_t size) {
    for (;;) {
        if (ssl_) {
            ERR_clear_error();
            int got = 0;
            {
                SigPipeBlock noSigPipe;
                got = SSL_read(ssl_.get(), buffer, static_cast<int>(size));
            }
            if (got > 0)
                return static_cast<size_t>(got);
            const int error = SSL_get_error(ssl_.get(), got);
            if (error == SSL_ERROR_ZERO_RETURN)
                return 0;
            if (IsUnexpectedEof(error)) {
                closedCleanly_ = false;
                return 0;
            }
            if (!WaitForTls(got))
                ThrowTlsError(tlsHost_);
            continue;
        }
        const ssize_t got = ::recv(socket_.Get(), buffer, size, 0);
        if (got >= 0)
            return static_cast<size_t>(got);
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
            waiter_.WaitFor(socket_.Get(), POLLIN);
        else
            throw EHttpError(SocketErrorText(errno));
    }
}

} // namespace olv
