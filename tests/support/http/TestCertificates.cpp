#include "support/http/TestCertificates.h"

#include <arpa/inet.h>
#include <fstream>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>
#include <stdexcept>

namespace olv::test {
namespace {

struct OpenSslFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    void operator()(X509* certificate) const { X509_free(certificate); }
    void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, OpenSslFree>;
using CertificatePtr = std::unique_ptr<X509, OpenSslFree>;

void Check(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string("test certificate: ") + what + " failed");
}

KeyPtr MakeKey() {
    KeyPtr key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "EVP_EC_gen");
    return key;
}

bool IsIpAddress(const std::string& name) {
    unsigned char address[16];
    return inet_pton(AF_INET, name.c_str(), address) == 1 ||
           inet_pton(AF_INET6, name.c_str(), address) == 1;
}

std::string AltNames(const std::vector<std::string>& names) {
    std::string list;
    for (const auto& name : names)
        list += (list.empty() ? "" : ",") + std::string(IsIpAddress(name) ? "IP:" : "DNS:") + name;
    return list;
}

void AddExtension(X509* certificate, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    std::unique_ptr<X509_EXTENSION, OpenSslFree> extension(
        X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
    Check(extension != nullptr, "X509V3_EXT_conf_nid");
    Check(X509_add_ext(certificate, extension.get(), -1) == 1, "X509_add_ext");
}

struct CertificateRequest {
    std::string commonName;
    std::vector<std::string> altNames;
    bool isCa = false;
    long notBeforeSeconds = -3600; // relative to now
    long notAfterSeconds = 86400;
};

// issuer/issuerKey null: self-signed with key.
CertificatePtr MakeCertificate(const CertificateRequest& request, EVP_PKEY* key, X509* issuer,
                               EVP_PKEY* issuerKey) {
    static long serial = 1;
    CertificatePtr certificate(X509_new());
    X509* cert = certificate.get();
    Check(cert != nullptr, "X509_new");
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), serial++);
    X509_gmtime_adj(X509_getm_notBefore(cert), request.notBeforeSeconds);
    X509_gmtime_adj(X509_getm_notAfter(cert), request.notAfterSeconds);
    X509_set_pubkey(cert, key);
    X509_NAME* subject = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(request.commonName.c_str()),
                               -1, -1, 0);
    X509* signer = issuer ? issuer : cert;
    X509_set_issuer_name(cert, X509_get_subject_name(signer));
    AddExtension(cert, signer, NID_basic_constraints,
                 request.isCa ? "critical,CA:TRUE" : "CA:FALSE");
    AddExtension(cert, signer, NID_key_usage,
                 request.isCa ? "critical,keyCertSign,cRLSign" : "critical,digitalSignature");
    AddExtension(cert, signer, NID_subject_key_identifier, "hash");
    if (!request.altNames.empty())
        AddExtension(cert, signer, NID_subject_alt_name, AltNames(request.altNames));
    Check(X509_sign(cert, issuerKey ? issuerKey : key, EVP_sha256()) > 0, "X509_sign");
    return certificate;
}

template <class Object, class Writer> std::string ToPem(Object* object, Writer write) {
    std::unique_ptr<BIO, OpenSslFree> bio(BIO_new(BIO_s_mem()));
    Check(write(bio.get(), object) == 1, "writing PEM");
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<size_t>(size));
}

std::string ToPem(X509* certificate) {
    return ToPem(certificate, PEM_write_bio_X509);
}

std::string ToPem(EVP_PKEY* key) {
    return ToPem(key, [](BIO* bio, EVP_PKEY* object) {
        return PEM_write_bio_PrivateKey(bio, object, nullptr, nullptr, 0, nullptr, nullptr);
    });
}

} // namespace

struct TestCertificates::Authority {
    KeyPtr key;
    CertificatePtr certificate;
};

TestCertificates::TestCertificates() : authority_(std::make_unique<Authority>()) {
    authority_->key = MakeKey();
    CertificateRequest request;
    request.commonName = "Olvenar Test CA";
    request.isCa = true;
    authority_->certificate = MakeCertificate(request, authority_->key.get(), nullptr, nullptr);
    caPem_ = ToPem(authority_->certificate.get());
}

TestCertificates::~TestCertificates() = default;

TestCertificate TestCertificates::Issue(const std::vector<std::string>& names,
                                        Validity validity) const {
    return Make(names, validity, true);
}

TestCertificate TestCertificates::SelfSigned(const std::vector<std::string>& names) const {
    return Make(names, Validity::Current, false);
}

TestCertificate TestCertificates::Make(const std::vector<std::string>& names, Validity validity,
                                       bool signedByCa) const {
    CertificateRequest request;
    request.commonName = names.empty() ? "localhost" : names.front();
    request.altNames = names;
    if (validity == Validity::Expired) {
        request.notBeforeSeconds = -2 * 86400;
        request.notAfterSeconds = -86400;
    }
    KeyPtr key = MakeKey();
    CertificatePtr certificate =
        signedByCa ? MakeCertificate(request, key.get(), authority_->certificate.get(),
                                     authority_->key.get())
                   : MakeCertificate(request, key.get(), nullptr, nullptr);
    return {ToPem(certificate.get()), ToPem(key.get())};
}

void TestCertificates::WriteCaFile(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out << caPem_;
    if (!out.flush())
        throw std::runtime_error("Unable to write " + path);
}

} // namespace olv::test
