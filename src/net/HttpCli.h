#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace olv {

class HttpResponseParser;
class HttpUrl;
class NetConnection;
class SocketWaiter;

// A minimal HTTP/1.0 client that fetches one document, over http:// or https://, directly or
// through a proxy. Get() is synchronous but never blocks the user interface: while it waits
// it calls ProcessMessages() every few tens of milliseconds, so an event handler may call
// Abort(). Single-threaded: only a name lookup runs on a thread of its own (NameLookup).
//
// https:// is verified against the system's certificate store, which honours the
// SSL_CERT_FILE and SSL_CERT_DIR environment variables, and in addition against the CA
// certificates in CaFile when that is set (tests trust their own CA either way). Through a
// proxy, an https request goes through a CONNECT tunnel.
class HttpCli {
public:
    HttpCli() = default;
    HttpCli(const HttpCli&) = delete;
    HttpCli& operator=(const HttpCli&) = delete;

    // --- Settings ---
    // scheme "://" [user ":" password "@"] host [":" port] path; http and port 80 by default.
    std::string URL;
    // Proxy host, empty for none. A port written here ("cache:3128") wins over ProxyPort.
    std::string Proxy;
    std::string ProxyPort = "80";
    std::string ProxyUsername;
    std::string ProxyPassword;
    std::string Agent = "Mozilla/3.0 (compatible)";
    // Sent as an "Accept: " line unless empty.
    std::string Accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
    // A PEM file of extra trusted CA certificates for https; empty for the system store only.
    std::string CaFile;
    // A wait that sees nothing for this long fails with "Connection timed out".
    std::chrono::milliseconds IdleTimeout{60000};
    // So does a request still running after this long, however steadily the bytes trickle in.
    static constexpr std::chrono::minutes kTimeLimit{5};
    std::chrono::milliseconds TimeLimit = kTimeLimit;
    // A body larger than this fails with "Document too large" (a full disk must never happen).
    int64_t MaxDocumentSize = 16 * 1024 * 1024;
    // Relocations followed before "Too many redirects".
    int MaxRedirects = 10;

    // Receives the body block by block; it may throw to fail the request. Without it the
    // body is counted and dropped.
    std::function<void(std::string_view block)> RcvdStream;
    // Raised after each block of the body has been written to RcvdStream and counted.
    std::function<void()> OnDocData;

    // --- Operations ---
    // Performs one GET, following relocations, and returns when the response is complete: the
    // body reached the length the server announced (what comes after it is not read), the last
    // chunk of a chunked body arrived, or, with neither, the server closed the connection
    // (cleanly, for TLS). Throws EHttpError when StatusCode is 400 or above (the message is
    // ReasonPhrase) and for every failure on the way (StatusCode is then 404 and ReasonPhrase
    // the message), among them "Connection closed before the whole page arrived" for a body
    // cut short.
    // Fails at once with "HTTP component is busy" while a request is in progress.
    void Get();

    // Ends the request in progress: StatusCode 404, ReasonPhrase "Connection aborted on
    // request"; Get closes the connection and fails with that text. Does nothing when idle.
    void Abort();

    // --- Results ---
    int StatusCode() const { return statusCode_; }
    const std::string& ReasonPhrase() const { return reasonPhrase_; }
    int64_t ContentLength() const { return contentLength_; }        // -1 when none was announced
    const std::string& ContentType() const { return contentType_; } // lower-cased
    int64_t RcvdCount() const { return rcvdCount_; }
    const std::string& Location() const { return location_; }

private:
    void ResetResults();
    void Fetch(SocketWaiter& waiter);
    // One request and its response; true when the response relocates to Location().
    bool RequestOnce(const HttpUrl& url, SocketWaiter& waiter);
    void ConnectToServerOrProxy(NetConnection& connection, const HttpUrl& url) const;
    void OpenTunnel(NetConnection& connection, const HttpUrl& url) const;
    std::string RequestText(const HttpUrl& url, bool proxyForm) const;
    std::string ProxyAuthorizationLine() const;
    // Reads the header block into parser and returns the body bytes that came with it.
    std::string ReadHeaderBlock(NetConnection& connection, HttpResponseParser& parser) const;
    void TakeResults(const HttpResponseParser& response);
    bool Relocated() const;
    void ReceiveBody(NetConnection& connection, SocketWaiter& waiter, std::string_view first);
    void ReceiveChunkedBody(NetConnection& connection, SocketWaiter& waiter,
                            std::string_view first);
    void Deliver(std::string_view block, SocketWaiter& waiter);
    void ThrowIfAborted() const;
    std::string StatusFailureText() const;

    bool busy_ = false;
    bool abortRequested_ = false;
    int statusCode_ = 0;
    std::string reasonPhrase_;
    int64_t contentLength_ = -1;
    std::string contentType_;
    int64_t rcvdCount_ = 0;
    std::string location_;
    std::string transferEncoding_;
};

} // namespace olv
