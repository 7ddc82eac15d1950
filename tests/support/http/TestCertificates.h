#pragma once

#include <memory>
#include <string>
#include <vector>

namespace olv::test {

// A server certificate and its private key, both PEM.
struct TestCertificate {
    std::string certificatePem;
    std::string privateKeyPem;
};

// A certificate authority made in-process for one test, and server certificates it issues.
// Clients trust it through HttpCli::CaFile or SSL_CERT_FILE pointing at WriteCaFile's file.
class TestCertificates {
public:
    enum class Validity { Current, Expired };

    TestCertificates();
    ~TestCertificates();
    TestCertificates(const TestCertificates&) = delete;
    TestCertificates& operator=(const TestCertificates&) = delete;

    // Signed by the CA for the names given: host names and IP addresses ("localhost",
    // "127.0.0.1"); the first is also the common name.
    TestCertificate Issue(const std::vector<std::string>& names,
                          Validity validity = Validity::Current) const;
    // For "localhost" and 127.0.0.1, signed by the CA.
    TestCertificate Localhost() const { return Issue({"localhost", "127.0.0.1"}); }
    // For the names given, signed by its own key (no CA vouches for it).
    TestCertificate SelfSigned(const std::vector<std::string>& names) const;

    void WriteCaFile(const std::string& path) const;

    struct Authority; // the CA's certificate and key

private:
    TestCertificate Make(const std::vector<std::string>& names, Validity validity,
                         bool signedByCa) const;

    std::unique_ptr<Authority> authority_;
    std::string caPem_;
};

} // namespace olv::test
