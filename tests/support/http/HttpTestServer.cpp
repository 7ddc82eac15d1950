#include "support/http/HttpTestServer.h"

#include "support/http/ServerConnection.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <pthread.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/socket.h>

namespace olv::test {
namespace {

void Check(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string("HttpTestServer: ") + what + " failed");
}

SSL_CTX* MakeServerContext(const TestCertificate& certificate) {
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    Check(context != nullptr, "SSL_CTX_new");
    BIO* certificateBio = BIO_new_mem_buf(certificate.certificatePem.data(),
                                          static_cast<int>(certificate.certificatePem.size()));
    X509* x509 = PEM_read_bio_X509(certificateBio, nullptr, nullptr, nullptr);
    BIO_free(certificateBio);
    BIO* keyBio = BIO_new_mem_buf(certificate.privateKeyPem.data(),
                                  static_cast<int>(certificate.privateKeyPem.size()));
    EVP_PKEY* key = PEM_read_bio_PrivateKey(keyBio, nullptr, nullptr, nullptr);
    BIO_free(keyBio);
    const bool ok = x509 && key && SSL_CTX_use_certificate(context, x509) == 1 &&
                    SSL_CTX_use_PrivateKey(context, key) == 1;
    X509_free(x509);
    EVP_PKEY_free(key);
    if (!ok)
        SSL_CTX_free(context);
    Check(ok, "loading the certificate");
    return context;
}

// The tunnel's far end: host:port as CONNECT names it, always one of the tests' own servers,
// which listen on IPv4 loopback only.
UniqueFd ConnectTo(const std::string& target) {
    const auto colon = target.rfind(':');
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (colon == std::string::npos ||
        getaddrinfo(target.substr(0, colon).c_str(), target.substr(colon + 1).c_str(), &hints,
                    &found) != 0)
        return {};
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const bool connected =
        socket.Valid() && ::connect(socket.Get(), found->ai_addr, found->ai_addrlen) == 0;
    freeaddrinfo(found);
    if (!connected)
        return {};
    ::fcntl(socket.Get(), F_SETFL, ::fcntl(socket.Get(), F_GETFL) | O_NONBLOCK);
    return socket;
}

// Sends text in pieces of chunkSize (all at once when 0), pausing between pieces.
bool SendPieces(ServerConnection& connection, std::string_view text, size_t chunkSize,
                std::chrono::milliseconds pause, bool& first) {
    const size_t step = chunkSize == 0 ? text.size() : chunkSize;
    for (size_t at = 0; at < text.size(); at += step) {
        if (!first && pause.count() > 0 && !connection.Pause(pause))
            return false;
        first = false;
        if (!connection.Send(text.substr(at, step)))
            return false;
    }
    return true;
}

} // namespace

void HttpTestServer::ContextFree::operator()(SSL_CTX* context) const {
    SSL_CTX_free(context);
}

HttpTestServer::HttpTestServer(Handler handler) : handler_(std::move(handler)) {
    Start();
}

HttpTestServer::HttpTestServer(Handler handler, const TestCertificate& certificate)
    : tls_(MakeServerContext(certificate)), handler_(std::move(handler)) {
    Start();
}

HttpTestServer::~HttpTestServer() {
    stopping_ = true;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
    thread_.join();
}

void HttpTestServer::Start() {
    listener_ = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    Check(listener_.Valid(), "socket");
    const int on = 1;
    ::setsockopt(listener_.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Check(::bind(listener_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0,
          "bind");
    Check(::listen(listener_.Get(), 16) == 0, "listen");
    socklen_t length = sizeof address;
    ::getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    wake_ = UniqueFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    Check(wake_.Valid(), "eventfd");
    thread_ = std::thread([this] { Run(); });
}

std::string HttpTestServer::Url(const std::string& path) const {
    const std::string origin = tls_ ? "https://localhost:" : "http://127.0.0.1:";
    return origin + std::to_string(port_) + path;
}

void HttpTestServer::Run() {
    // A TLS write to a client that has gone raises SIGPIPE on this thread; keep it pending.
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, nullptr);
    while (!stopping_) {
        pollfd entries[2] = {{listener_.Get(), POLLIN, 0}, {wake_.Get(), POLLIN, 0}};
        if (::poll(entries, 2, 100) <= 0 || stopping_)
            continue;
        UniqueFd client(::accept4(listener_.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (client.Valid())
            Serve(std::move(client));
    }
}

void HttpTestServer::Serve(UniqueFd client) {
    ServerConnection connection(std::move(client), tls_.get(), stopping_);
    std::string head;
    HttpTestRequest request;
    if (!connection.Accept() || !connection.ReadHead(head) ||
        !HttpTestRequest::Parse(head, request))
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    const HttpTestResponse response = Handle(request);
    if (response.tunnel)
        OpenTunnel(connection, request.target);
    else
        Answer(connection, response);
}

HttpTestResponse HttpTestServer::Handle(const HttpTestRequest& request) {
    Handler handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        handler = handler_;
    }
    try {
        return handler ? handler(request) : HttpTestResponse::Status(404, "Not Found");
    } catch (const std::exception& failure) {
        return HttpTestResponse::Status(500, "Internal Server Error", failure.what());
    }
}

void HttpTestServer::Answer(ServerConnection& connection, const HttpTestResponse& response) {
    if (!connection.Pause(response.delayBefore) || response.closeWithoutAnswer)
        return;
    bool first = true;
    if (!connection.Send(response.Head()) ||
        !SendPieces(connection, response.body, response.chunkSize, response.delayBetweenChunks,
                    first))
        return;
    if (!response.endless)
        return;
    const std::string filler = response.body.empty() ? std::string(16384, 'x') : response.body;
    while (SendPieces(connection, filler, response.chunkSize, response.delayBetweenChunks, first)) {
    }
}

void HttpTestServer::OpenTunnel(ServerConnection& connection, const std::string& target) {
    const UniqueFd far = ConnectTo(target);
    if (!far.Valid()) {
        connection.Send("HTTP/1.0 502 Bad Gateway\r\n\r\n");
        return;
    }
    if (connection.Send("HTTP/1.0 200 Connection established\r\n\r\n"))
        connection.Relay(far);
}

void HttpTestServer::SetHandler(Handler handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    handler_ = std::move(handler);
}

size_t HttpTestServer::RequestCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.size();
}

HttpTestRequest HttpTestServer::LastRequest() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.empty() ? HttpTestRequest() : requests_.back();
}

} // namespace olv::test
