#include "HttpCliFixture.h"
#include "support/TempDir.h"
#include "support/http/HttpTestServer.h"
#include "support/http/TestCertificates.h"

#include <cstdlib>

namespace olv {
namespace {

using test::HttpTestRequest;
using test::HttpTestResponse;
using test::HttpTestServer;
using test::TestCertificate;
using test::TestCertificates;

HttpTestResponse Secret(const HttpTestRequest& request) {
    return HttpTestResponse::Ok("secret " + request.target);
}

// The client trusts the test's own certificate authority through CaFile.
class HttpsTest : public test::HttpCliFixture {
protected:
    HttpsTest() {
        authority_.WriteCaFile(caFile_);
        client_.CaFile = caFile_;
    }

    test::TempDir folder_;
    const std::string caFile_ = folder_.File("ca.pem");
    TestCertificates authority_;
};

TEST_F(HttpsTest, FetchesFromAServerItTrustsByNameAddressOrSslCertFile) {
    HttpTestServer server(Secret, authority_.Localhost());
    EXPECT_EQ("", Run(server.Url("/page?a=b")));
    EXPECT_EQ("secret /page?a=b", body_);
    EXPECT_EQ(200, client_.StatusCode());
    EXPECT_EQ("localhost", server.LastRequest().Header("Host"));

    // The certificate also names 127.0.0.1, and an address is checked as an address.
    EXPECT_EQ("", Run("https://127.0.0.1:" + std::to_string(server.Port()) + "/ip"));
    EXPECT_EQ("secret /ip", body_);

    client_.CaFile.clear();
    client_.URL = server.Url("/env");
    ::setenv("SSL_CERT_FILE", caFile_.c_str(), 1);
    const std::string failure = Run();
    ::unsetenv("SSL_CERT_FILE");
    EXPECT_EQ("", failure);
    EXPECT_EQ("secret /env", body_);
}

TEST_F(HttpsTest, RefusesCertificatesThatDoNotHoldUp) {
    struct Case {
        TestCertificate certificate;
        bool trusted;
        std::string reason;
    };
    const Case cases[] = {
        {authority_.Localhost(), false, "unable to get local issuer certificate"},
        {authority_.Issue({"weather.example"}), true, "hostname mismatch"},
        {authority_.Issue({"localhost"}, TestCertificates::Validity::Expired), true,
         "certificate has expired"},
        {authority_.SelfSigned({"localhost"}), true, "self-signed certificate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        HttpTestServer server(Secret, c.certificate);
        client_.CaFile = c.trusted ? caFile_ : "";
        client_.URL = server.Url("/");
        EXPECT_EQ("Certificate of localhost could not be verified: " + c.reason, Run());
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

TEST_F(HttpsTest, GoesThroughAProxyTunnel) {
    HttpTestServer server(Secret, authority_.Localhost());
    HttpTestServer proxy([](const HttpTestRequest& request) {
        return request.method == "CONNECT" ? HttpTestResponse::Tunnel()
                                           : HttpTestResponse::Status(400, "Bad Request");
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
    EXPECT_FALSE(inner.HasHeader("Proxy-Authorization"));
}

TEST_F(HttpsTest, AProxyThatRefusesTheTunnelIsReported) {
    HttpTestServer proxy([](const HttpTestRequest&) {
        return HttpTestResponse::Status(407, "Proxy Authentication Required");
    });
    client_.Proxy = "127.0.0.1:" + std::to_string(proxy.Port());
    EXPECT_EQ("Proxy Authentication Required", Run("https://weather.example/x"));
    EXPECT_EQ("weather.example:443", proxy.LastRequest().target);
}

} // namespace
} // namespace olv
