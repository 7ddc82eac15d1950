#include "support/http/HttpTestServer.h"

#include "platform/Files.h"
#include "util/Strings.h"

#include <algorithm>
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>

namespace olv::test {
namespace {

constexpr size_t kMaxHead = 65536;

void Check(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string("HttpTestServer: ") + what + " failed");
}

bool SendAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

// The server's end of one connection, plain or TLS, on a blocking socket: every call returns
// when the client goes or the server shuts the socket down.
class Link {
public:
    Link(int socket, SSL_CTX* tls) : socket_(socket) {
        if (tls) {
            ssl_.reset(SSL_new(tls));
            SSL_set_fd(ssl_.get(), socket);
        }
    }
    ~Link() {
        if (ssl_ && closeNotify && SSL_is_init_finished(ssl_.get()))
            SSL_shutdown(ssl_.get());
    }
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    bool Accept() { return !ssl_ || SSL_accept(ssl_.get()) == 1; }
    bool Receive(char& byte) {
        return ssl_ ? SSL_read(ssl_.get(), &byte, 1) == 1 : ::recv(socket_, &byte, 1, 0) == 1;
    }
    bool Send(std::string_view data) {
        if (!ssl_)
            return SendAll(socket_, data);
        return data.empty() ||
               SSL_write(ssl_.get(), data.data(), static_cast<int>(data.size())) > 0;
    }
    // Waits; false when the client has gone meanwhile.
    bool Pause(std::chrono::milliseconds duration) const {
        pollfd entry{socket_, POLLRDHUP, 0};
        return ::poll(&entry, 1, static_cast<int>(duration.count())) == 0;
    }

    bool closeNotify = true;

private:
    int socket_;
    std::unique_ptr<SSL, void (*)(SSL*)> ssl_{nullptr, SSL_free};
};

// Reads a byte at a time so that nothing after the head (a tunnelled handshake) is taken.
bool ReadRequest(Link& link, HttpTestRequest& request) {
    std::string& head = request.raw;
    char byte = 0;
    while (head.size() < kMaxHead && link.Receive(byte)) {
        head += byte;
        if (EndsWith(head, "\n\n") || EndsWith(head, "\r\n\r\n")) {
            const auto space = head.find(' ');
            request.method = head.substr(0, space);
            request.target = head.substr(space + 1, head.find(' ', space + 1) - space - 1);
            return space != std::string::npos;
        }
    }
    return false;
}

// The body, then for an endless answer the body again (or 'x's) until the client goes.
void Answer(Link& link, const HttpTestResponse& response) {
    link.closeNotify = !response.skipCloseNotify;
    if (!link.Pause(response.delayBefore) || !link.Send(response.head))
        return;
    const std::string more = response.body.empty() ? std::string(16384, 'x') : response.body;
    for (bool first = true; first || response.endless; first = false) {
        const std::string_view body = first ? response.body : more;
        const size_t step = response.pieceSize > 0 ? response.pieceSize : body.size();
        for (size_t at = 0; at < body.size(); at += step)
            if (((at > 0 || !first) && !link.Pause(response.delayBetweenPieces)) ||
                !link.Send(body.substr(at, step)))
                return;
    }
}

// The tunnel's far end is always one of the tests' own servers, on 127.0.0.1.
void Relay(int client, const std::string& target) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port =
        htons(static_cast<uint16_t>(std::stoi(target.substr(target.rfind(':') + 1))));
    const UniqueFd far(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (::connect(far.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        SendAll(client, "HTTP/1.0 502 Bad Gateway\r\n\r\n");
        return;
    }
    if (!SendAll(client, "HTTP/1.0 200 Connection established\r\n\r\n"))
        return;
    // Each way until its sender stops, passing the end on.
    const auto pump = [](int from, int to) {
        char buffer[16384];
        ssize_t got = 0;
        while ((got = ::recv(from, buffer, sizeof buffer, 0)) > 0 &&
               SendAll(to, std::string_view(buffer, static_cast<size_t>(got)))) {
        }
        ::shutdown(to, SHUT_WR);
    };
    std::thread back(pump, far.Get(), client);
    pump(client, far.Get());
    back.join();
}

} // namespace

std::string HttpTestRequest::Header(std::string_view name) const {
    for (const std::string& text : SplitLines(raw)) {
        const std::string_view line(text);
        const auto colon = line.find(':');
        if (colon != std::string_view::npos && SameText(TrimView(line.substr(0, colon)), name))
            return std::string(TrimView(line.substr(colon + 1)));
    }
    return {};
}

HttpTestResponse HttpTestResponse::Ok(std::string body, const std::string& contentType) {
    HttpTestResponse response;
    response.Header("Content-Type", contentType).Header("Content-Length", Decimal(body.size()));
    response.body = std::move(body);
    return response;
}

HttpTestResponse HttpTestResponse::Status(int code, const std::string& reason, std::string body) {
    HttpTestResponse response;
    response.head = "HTTP/1.0 " + Decimal(code) + " " + reason + "\r\n\r\n";
    response.body = std::move(body);
    return response;
}

HttpTestResponse& HttpTestResponse::Header(const std::string& name, const std::string& value) {
    head.insert(head.size() - 2, name + ": " + value + "\r\n");
    return *this;
}

HttpTestServer::HttpTestServer(Handler handler) : handler_(std::move(handler)) {
    Start();
}

HttpTestServer::HttpTestServer(Handler handler, const std::string& certificate)
    : tls_(SSL_CTX_new(TLS_server_method()), SSL_CTX_free), handler_(std::move(handler)) {
    const std::string file = OLVENAR_TEST_CERTS_DIR "/" + certificate + ".pem";
    Check(tls_ && SSL_CTX_use_certificate_chain_file(tls_.get(), file.c_str()) == 1 &&
              SSL_CTX_use_PrivateKey_file(tls_.get(), file.c_str(), SSL_FILETYPE_PEM) == 1,
          "loading the certificate");
    Start();
}

HttpTestServer::~HttpTestServer() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        if (client_ >= 0)
            ::shutdown(client_, SHUT_RDWR);
    }
    ::shutdown(listener_.Get(), SHUT_RDWR); // wakes accept()
    thread_.join();
}

std::string HttpTestServer::CaFile() {
    return OLVENAR_TEST_CERTS_DIR "/ca.pem";
}

void HttpTestServer::Start() {
    listener_ = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    Check(listener_.Valid() &&
              ::bind(listener_.Get(), reinterpret_cast<sockaddr*>(&address), length) == 0 &&
              ::listen(listener_.Get(), 16) == 0 &&
              ::getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &length) == 0,
          "listening on loopback");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

std::string HttpTestServer::Url(const std::string& path) const {
    return (tls_ ? "https://localhost:" : "http://127.0.0.1:") + Decimal(port_) + path;
}

void HttpTestServer::Run() {
    // No handler runs here, so no call is interrupted; a TLS write's SIGPIPE stays pending.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    for (;;) {
        const UniqueFd client(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_)
                return;
            client_ = client.Get();
        }
        if (client.Valid())
            Serve(client.Get());
        std::lock_guard<std::mutex> lock(mutex_);
        client_ = -1;
    }
}

void HttpTestServer::Serve(int client) {
    Link link(client, tls_.get());
    HttpTestRequest request;
    if (!link.Accept() || !ReadRequest(link, request))
        return;
    Handler handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
        handler = handler_;
    }
    HttpTestResponse response;
    try {
        response = handler(request);
    } catch (const std::exception& failure) {
        response = HttpTestResponse::Status(500, "Internal Server Error", failure.what());
    }
    if (response.tunnel)
        Relay(client, request.target);
    else
        Answer(link, response);
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
