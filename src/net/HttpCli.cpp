#include "net/HttpCli.h"

#include "net/ChunkedDecoder.h"
#include "net/EHttpError.h"
#include "net/HttpResponseParser.h"
#include "net/HttpUrl.h"
#include "net/NetConnection.h"
#include "net/SocketWaiter.h"
#include "platform/ProcessMessages.h"
#include "util/Strings.h"

#include <openssl/evp.h>
#include <vector>

namespace olv {
namespace {

constexpr size_t kBlockSize = 16384;
constexpr const char* kAbortedText = "Connection aborted on request";
constexpr const char* kCutShort = "Connection closed before the whole page arrived";

std::string Base64(std::string_view text) {
    std::vector<unsigned char> encoded(4 * ((text.size() + 2) / 3) + 1);
    const int length =
        EVP_EncodeBlock(encoded.data(), reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size()));
    return std::string(reinterpret_cast<const char*>(encoded.data()), static_cast<size_t>(length));
}

// A blank, a control character or a byte above 127 can never stand in a request line (a
// script may build an address from a place name): they go as %XX of their byte.
std::string EscapeTarget(std::string_view target) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : target) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > ' ' && byte < 0x7F) {
            escaped += c;
            continue;
        }
        escaped += '%';
        escaped += kHex[byte >> 4];
        escaped += kHex[byte & 0x0F];
    }
    return escaped;
}

// Clears the busy mark however Get ends.
class BusyMark {
public:
    explicit BusyMark(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyMark() { busy_ = false; }
    BusyMark(const BusyMark&) = delete;
    BusyMark& operator=(const BusyMark&) = delete;

private:
    bool& busy_;
};

} // namespace

void HttpCli::Get() {
    if (busy_)
        throw EHttpError("HTTP component is busy");
    BusyMark busy(busy_);
    abortRequested_ = false;
    ResetResults();
    SocketWaiter waiter(IdleTimeout, TimeLimit, [this] {
        ProcessMessages();
        ThrowIfAborted();
    });
    try {
        Fetch(waiter);
    } catch (const std::exception& failure) {
        statusCode_ = 404;
        reasonPhrase_ = failure.what();
        throw;
    }
    if (statusCode_ >= 400)
        throw EHttpError(StatusFailureText());
}

void HttpCli::Abort() {
    if (!busy_)
        return;
    statusCode_ = 404;
    reasonPhrase_ = kAbortedText;
    abortRequested_ = true;
}

void HttpCli::ThrowIfAborted() const {
    if (abortRequested_)
        throw EHttpError(kAbortedText);
}

void HttpCli::ResetResults() {
    statusCode_ = 0;
    reasonPhrase_.clear();
    contentLength_ = -1;
    contentType_.clear();
    rcvdCount_ = 0;
    location_.clear();
    transferEncoding_.clear();
}

void HttpCli::Fetch(SocketWaiter& waiter) {
    HttpUrl url = HttpUrl::Parse(URL);
    for (int relocations = 0; RequestOnce(url, waiter); ++relocations) {
        if (relocations >= MaxRedirects)
            throw EHttpError("Too many redirects");
        url = url.Resolve(location_);
    }
}

bool HttpCli::RequestOnce(const HttpUrl& url, SocketWaiter& waiter) {
    if (url.scheme != "http" && url.scheme != "https")
        throw EHttpError("Unsupported protocol: " + url.scheme);
    NetConnection connection(waiter);
    ConnectToServerOrProxy(connection, url);
    const bool viaProxy = !Proxy.empty();
    if (url.Secure()) {
        if (viaProxy)
            OpenTunnel(connection, url);
        connection.StartTls(url.host, CaFile);
    }
    connection.Send(RequestText(url, viaProxy && !url.Secure()));

    HttpResponseParser response;
    const std::string firstBlock = ReadHeaderBlock(connection, response);
    TakeResults(response);
    // A relocation is not delivered, and an error page is not wanted: close at once.
    if (Relocated())
        return true;
    if (statusCode_ >= 400)
        return false;
    if (contentLength_ > MaxDocumentSize)
        throw EHttpError("Document too large");
    if (transferEncoding_ == "chunked")
        ReceiveChunkedBody(connection, waiter, firstBlock);
    else if (transferEncoding_.empty())
        ReceiveBody(connection, waiter, firstBlock);
    else
        throw EHttpError("Unsupported transfer encoding: " + transferEncoding_);
    return false;
}

void HttpCli::ConnectToServerOrProxy(NetConnection& connection, const HttpUrl& url) const {
    if (Proxy.empty()) {
        connection.Connect(url.host, url.port);
        return;
    }
    const HttpUrl proxy = HttpUrl::Parse(Proxy);
    const std::string port = proxy.portGiven ? proxy.port : (ProxyPort.empty() ? "80" : ProxyPort);
    connection.Connect(proxy.host, port);
}

// Asks the proxy for a raw connection to the server, so TLS runs end to end through it.
void HttpCli::OpenTunnel(NetConnection& connection, const HttpUrl& url) const {
    std::string request = "CONNECT " + url.Authority() + " HTTP/1.0\r\n";
    request += "User-Agent: " + Agent + "\r\n";
    request += "Host: " + url.Authority() + "\r\n";
    if (!ProxyUsername.empty())
        request += ProxyAuthorizationLine();
    connection.Send(request + "\r\n");

    HttpResponseParser reply;
    ReadHeaderBlock(connection, reply);
    if (reply.StatusCode() >= 200 && reply.StatusCode() < 300)
        return;
    if (reply.StatusCode() == 0 || reply.ReasonPhrase().empty())
        throw EHttpError("The proxy refused the connection to " + url.host);
    throw EHttpError(reply.ReasonPhrase());
}

std::string HttpCli::RequestText(const HttpUrl& url, bool proxyForm) const {
    const std::string target = proxyForm ? url.ProxyTarget() : url.path;
    std::string text = "GET " + EscapeTarget(target) + " HTTP/1.0\r\n";
    if (!Accept.empty())
        text += "Accept: " + Accept + "\r\n";
    text += "User-Agent: " + Agent + "\r\n";
    text += "Host: " + url.host + "\r\n";
    if (url.hasUser)
        text += "Authorization: Basic " + Base64(url.user + ":" + url.password) + "\r\n";
    // Never inside a tunnel: the proxy's password is not for the server.
    if (proxyForm && !ProxyUsername.empty())
        text += ProxyAuthorizationLine();
    return text + "\r\n";
}

std::string HttpCli::ProxyAuthorizationLine() const {
    return "Proxy-Authorization: Basic " + Base64(ProxyUsername + ":" + ProxyPassword) + "\r\n";
}

std::string HttpCli::ReadHeaderBlock(NetConnection& connection, HttpResponseParser& parser) const {
    std::vector<char> buffer(kBlockSize);
    int64_t headerBytes = 0;
    while (!parser.Complete()) {
        const size_t got = connection.Receive(buffer.data(), buffer.size());
        if (got == 0) {
            parser.Finish();
            break;
        }
        // Endless header lines would otherwise keep an unattended read busy for ever.
        headerBytes += static_cast<int64_t>(got);
        if (headerBytes > MaxDocumentSize + static_cast<int64_t>(kBlockSize))
            throw EHttpError("Document too large");
        const size_t used = parser.Feed(std::string_view(buffer.data(), got));
        if (parser.Complete())
            return std::string(buffer.data() + used, got - used);
    }
    return {};
}

void HttpCli::TakeResults(const HttpResponseParser& response) {
    statusCode_ = response.StatusCode();
    reasonPhrase_ = response.ReasonPhrase();
    contentLength_ = response.ContentLength();
    contentType_ = response.ContentType();
    location_ = response.Location();
    transferEncoding_ = response.TransferEncoding();
}

bool HttpCli::Relocated() const {
    return statusCode_ >= 300 && statusCode_ < 400 && !location_.empty();
}

void HttpCli::ReceiveBody(NetConnection& connection, SocketWaiter& waiter, std::string_view first) {
    // A body that has reached its announced length is whole, whether or not the server then
    // closes: one that keeps the connection open must not leave the page to the idle timeout.
    const bool announced = contentLength_ >= 0;
    const auto deliver = [&](std::string_view block) {
        if (announced)
            block = block.substr(0, static_cast<size_t>(contentLength_ - rcvdCount_));
        Deliver(block, waiter);
    };
    deliver(first);
    std::vector<char> buffer(kBlockSize);
    while (!announced || rcvdCount_ < contentLength_) {
        const size_t got = connection.Receive(buffer.data(), buffer.size());
        if (got == 0)
            break;
        deliver(std::string_view(buffer.data(), got));
    }
    // Without a length only a clean end tells a whole page from a cut one.
    const bool whole = announced ? rcvdCount_ >= contentLength_ : connection.ClosedCleanly();
    if (!whole)
        throw EHttpError(kCutShort);
}

void HttpCli::ReceiveChunkedBody(NetConnection& connection, SocketWaiter& waiter,
                                 std::string_view first) {
    ChunkedDecoder chunks;
    const auto deliver = [&](std::string_view data) { Deliver(data, waiter); };
    chunks.Feed(first, deliver);
    std::vector<char> buffer(kBlockSize);
    while (!chunks.Done()) {
        const size_t got = connection.Receive(buffer.data(), buffer.size());
        if (got == 0)
            throw EHttpError(kCutShort);
        chunks.Feed(std::string_view(buffer.data(), got), deliver);
    }
}

void HttpCli::Deliver(std::string_view block, SocketWaiter& waiter) {
    if (block.empty())
        return;
    if (rcvdCount_ + static_cast<int64_t>(block.size()) > MaxDocumentSize)
        throw EHttpError("Document too large");
    if (RcvdStream)
        RcvdStream(block);
    rcvdCount_ += static_cast<int64_t>(block.size());
    if (OnDocData)
        OnDocData();
    waiter.Checkpoint();
}

// Servers may leave out the reason phrase; the user still needs to read why.
std::string HttpCli::StatusFailureText() const {
    return reasonPhrase_.empty() ? "HTTP error " + Decimal(statusCode_) : reasonPhrase_;
}

} // namespace olv
