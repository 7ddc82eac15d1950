#include "update/UpdateSignature.h"

#include <memory>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

namespace olv {
namespace {

struct OpenSslFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, OpenSslFree>;

KeyPtr ReadPublicKey(const std::string& pem) {
    const std::unique_ptr<BIO, OpenSslFree> bio(BIO_new_mem_buf(pem.data(), int(pem.size())));
    if (!bio)
        return nullptr;
    return KeyPtr(PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
}

const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

} // namespace

bool VerifyUpdateSignature(std::string_view data, std::string_view signature,
                           const std::string& publicKeyPem, std::string& problem) {
    const KeyPtr key = ReadPublicKey(publicKeyPem);
    if (!key || EVP_PKEY_get_base_id(key.get()) != EVP_PKEY_ED25519) {
        ERR_clear_error();
        problem = "the key it must be checked with is not an Ed25519 public key";
        return false;
    }
    // Ed25519 signs the message itself, so there is no digest to name.
    const std::unique_ptr<EVP_MD_CTX, OpenSslFree> context(EVP_MD_CTX_new());
    const bool valid =
        context && EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) == 1 &&
        EVP_DigestVerify(context.get(), Bytes(signature), signature.size(), Bytes(data),
                         data.size()) == 1;
    if (!valid) {
        problem = "its signature does not match";
        // Leave no stale error behind for the next TLS connection to trip over.
        ERR_clear_error();
    }
    return valid;
}

std::string Sha256Hex(std::string_view data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(data.data(), data.size(), digest, &length, EVP_sha256(), nullptr);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 0x0f];
    }
    return text;
}

} // namespace olv
