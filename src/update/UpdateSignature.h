#pragma once

#include <string>
#include <string_view>

namespace olv {

// True when signature is the Ed25519 signature of data by the key in publicKeyPem; otherwise
// false with the reason ("its signature does not match").
bool VerifyUpdateSignature(std::string_view data, std::string_view signature,
                           const std::string& publicKeyPem, std::string& problem);

// The SHA-256 digest of data in lower-case hexadecimal.
std::string Sha256Hex(std::string_view data);

} // namespace olv
