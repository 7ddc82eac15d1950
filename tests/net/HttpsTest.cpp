#include "HttpCliFixture.h"
#include "support/http/HttpTestServer.h"

#include <cstdlib>

namespace olv {
namespace {

using test::HttpTestRequest;
using test::HttpTestResponse;
using test::HttpTestServer;

HttpTestResponse Secret(const HttpTestRequest& request) {
    return HttpTestResponse::Ok("secret " + request.target);
}

// The client trusts the tests' own certificate authority through CaFile.
class HttpsTest : public test::HttpCliFixture {
protected:
    HttpsTest() { client_.CaFile = HttpTestServer::CaFile(); }
};

TEST_F(HttpsTest, FetchesFromAServerItTrustsByNameAddressOrSslCertFile) {
    HttpTestServer server(Secret, "localhost");
    EXPECT_EQ("", Run(server.Url("/page?a=b")));
    EXPECT_EQ("secret /page?a=b", body_);
    EXPECT_EQ("localhost", server.LastRequest().Header("Host"));

    // The certificate also names 127.0.0.1, and an address is checked as an address.
    EXPECT_EQ("", Run("https://127.0.0.1:" + std::to_string(server.Port()) + "/ip"));
    EXPECT_EQ("secret /ip", body_);

    client_.CaFile.clear();
    client_.URL = server.Url("/env");
    ::setenv("SSL_CERT_FILE", HttpTestServer::CaFile().c_str(), 1);
    const std::string failure = Run();
    ::unsetenv("SSL_CERT_FILE");
    EXPECT_EQ("", failure);
    EXPECT_EQ("secret /env", body_);
}

TEST_F(HttpsTest, RefusesCertificatesThatDoNotHoldUp) {
    struct Case {
        const char* certificate;
        bool trusted;
        const char* reason;
    };
    const Case cases[] = {
        {"localhost", false, "unable to get local issuer certificate"},
        {"weather.example", true, "hostname mismatch"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        HttpTestServer server(Secret, c.certificate);
        client_.CaFile = c.trusted ? HttpTestServer::CaFile() : "";
        EXPECT_EQ("Certificate of localhost could not be verified: " + std::string(c.reason),
                  Run(server.Url("/")));
        EXPECT_EQ("", body_);
        EXPECT_EQ(0u, server.RequestCount());
    }
}

// A server that never answers the handshake must not hold the client.
TEST_F(HttpsTest, APlainServerOnTheHttpsPortTimesOut) {
    HttpTestServer plain([](const HttpTestRequest&) { return HttpTestResponse::Ok("plain"); });
    client_.IdleTimeout = std::chrono::milliseconds(300);
    EXPECT_EQ("Connection timed out",
              Run("https://localhost:" + std::to_string(plain.Port()) + "/"));
}

TEST_F(HttpsTest, GoesThroughAProxyTunnelUnlessTheProxyRefuses) {
    HttpTestServer server(Secret, "localhost");
    HttpTestServer proxy([](const HttpTestRequest& request) {
        if (request.target == "weather.example:443")
            return HttpTestResponse::Status(407, "Proxy Authentication Required");
        return HttpTestResponse::Tunnel();
    });
    client_.Proxy = "127.0.0.1";
    client_.ProxyPort = std::to_string(proxy.Port());
    client_.ProxyUsername = "pu";
    client_.ProxyPassword = "pp";
    EXPECT_EQ("", Run(server.Url("/tunnelled")));
    EXPECT_EQ("secret /tunnelled", body_);

    const HttpTestRequest connect = proxy.LastRequest();
    const std::string authority = "localhost:" + std::to_string(server.Port());
    EXPECT_EQ("CONNECT", connect.method);
    EXPECT_EQ(authority, connect.target);
    EXPECT_EQ(authority, connect.Header("Host"));
    EXPECT_EQ("Basic cHU6cHA=", connect.Header("Proxy-Authorization"));

    // Inside the tunnel the server sees an ordinary request, without the proxy's password.
    const HttpTestRequest inner = server.LastRequest();
    EXPECT_EQ("/tunnelled", inner.target);
    EXPECT_EQ("", inner.Header("Proxy-Authorization"));

    EXPECT_EQ("Proxy Authentication Required", Run("https://weather.example/x"));
}

} // namespace
} // namespace olv
