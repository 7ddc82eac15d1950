#include "net/EHttpError.h"
#include "net/HttpCli.h"
#include "support/TempDir.h"
#include "support/http/HttpTestServer.h"
#include "support/http/TestCertificates.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace olv {
namespace {

using test::HttpTestRequest;
using test::HttpTestResponse;
using test::HttpTestServer;
using test::TestCertificates;

const std::string kCertificateFailure = "Certificate of localhost could not be verified: ";

HttpTestResponse Secret(const HttpTestRequest& request) {
    return HttpTestResponse::Ok("secret " + request.target);
}

class HttpsTest : public ::testing::Test {
protected:
    HttpsTest() {
        authority_.WriteCaFile(folder_.File("ca.pem"));
        client_.RcvdStream = [this](std::string_view block) { body_.append(block); };
    }

    std::string Run() {
        body_.clear();
        try {
            client_.Get();
        } catch (const EHttpError& failure) {
            return failure.what();
        }
        return "";
    }

    test::TempDir folder_;
    TestCertificates authority_;
    HttpCli client_;
    std::string body_;
};

TEST_F(HttpsTest, FetchesFromAServerItTrusts) {
    HttpTestServer server(Secret, authority_.Localhost());
    client_.CaFile = folder_.File("ca.pem");
    client_.URL = server.Url("/page?a=b");
    EXPECT_EQ("", Run());
    EXPECT_EQ("secret /page?a=b", body_);
    EXPECT_EQ(200, client_.StatusCode());
    EXPECT_EQ("localhost", server.LastRequest().Header("Host"));

    // The certificate also names 127.0.0.1, and an address is checked as an address.
    client_.URL = "https://127.0.0.1:" + std::to_string(server.Port()) + "/ip";
    EXPECT_EQ("", Run());
    EXPECT_EQ("secret /ip", body_);
}

TEST_F(HttpsTest, HonoursSslCertFile) {
    HttpTestServer server(Secret, authority_.Localhost());
    client_.URL = server.Url("/env");
    ::setenv("SSL_CERT_FILE", folder_.File("ca.pem").c_str(), 1);
    const std::string failure = Run();
    ::unsetenv("SSL_CERT_FILE");
    EXPECT_EQ("", failure);
    EXPECT_EQ("secret /env", body_);
}

TEST_F(HttpsTest, RefusesCertificatesThatDoNotHoldUp) {
    const std::string caFile = folder_.File("ca.pem");
    {
        HttpTestServer untrusted(Secret, authority_.Localhost());
        client_.URL = untrusted.Url("/");
        EXPECT_EQ(kCertificateFailure + "unable to get local issuer certificate", Run());
        EXPECT_EQ(0u, untrusted.RequestCount());
    }
    client_.CaFile = caFile;
    {
        HttpTestServer wrongName(Secret, authority_.Issue({"weather.example"}));
        client_.URL = wrongName.Url("/");
        EXPECT_EQ(kCertificateFailure + "hostname mismatch", Run());
        EXPECT_EQ(404, client_.StatusCode());
    }
    {
        HttpTestServer expired(
            Secret, authority_.Issue({"localhost"}, TestCertificates::Validity::Expired));
        client_.URL = expired.Url("/");
        EXPECT_EQ(kCertificateFailure + "certificate has expired", Run());
    }
    {
        HttpTestServer selfSigned(Secret, authority_.SelfSigned({"localhost"}));
        client_.URL = selfSigned.Url("/");
        EXPECT_EQ(kCertificateFailure + "self-signed certificate", Run());
    }
    EXPECT_EQ("", body_);
}

// A server that never answers the handshake must not hold the client.
TEST_F(HttpsTest, APlainServerOnTheHttpsPortTimesOut) {
    HttpTestServer plain([](const HttpTestRequest&) { return HttpTestResponse::Ok("plain"); });
    client_.IdleTimeout = std::chrono::milliseconds(300);
    client_.URL = "https://localhost:" + std::to_string(plain.Port()) + "/";
    EXPECT_EQ("Connection timed out", Run());
}

TEST_F(HttpsTest, RelocationMayChangeScheme) {
    HttpTestServer secure(Secret, authority_.Localhost());
    HttpTestServer plain([&](const HttpTestRequest&) {
        return HttpTestResponse::Redirect(secure.Url("/moved"), 301);
    });
    client_.CaFile = folder_.File("ca.pem");
    client_.URL = plain.Url("/old");
    EXPECT_EQ("", Run());
    EXPECT_EQ("secret /moved", body_);
}

TEST_F(HttpsTest, GoesThroughAProxyTunnel) {
    HttpTestServer server(Secret, authority_.Localhost());
    HttpTestServer proxy([](const HttpTestRequest& request) {
        return request.method == "CONNECT" ? HttpTestResponse::Tunnel()
                                           : HttpTestResponse::Status(400, "Bad Request");
    });
    client_.CaFile = folder_.File("ca.pem");
    client_.Proxy = "127.0.0.1";
    client_.ProxyPort = std::to_string(proxy.Port());
    client_.ProxyUsername = "pu";
    client_.ProxyPassword = "pp";
    client_.URL = server.Url("/tunnelled");
    EXPECT_EQ("", Run());
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
    client_.URL = "https://weather.example/x";
    EXPECT_EQ("Proxy Authentication Required", Run());
    EXPECT_EQ("weather.example:443", proxy.LastRequest().target);
}

} // namespace
} // namespace olv
