#pragma once

#include <string>

namespace olv {

// Where updates come from and what proves them ours. The build sets both (OLVENAR_UPDATE_URL,
// OLVENAR_UPDATE_PUBLIC_KEY); the environment variables of the same names override them, the
// key's as the path of a PEM file (tests and private mirrors).

// The base address below which "/chls/Master.chl" lies, without a trailing '/'; empty when
// this build has no update server (an empty OLVENAR_UPDATE_URL turns a built-in one off).
std::string UpdateServerAddress();

// True for https:// addresses, and for http:// on this computer only (a test or a local try):
// anything else could be read or changed on its way. Otherwise false with the reason.
bool IsUpdateAddressAllowed(const std::string& address, std::string& problem);

// The PEM text of the Ed25519 public key that signs the manifest. False with the reason when
// there is none or its file cannot be read.
bool UpdatePublicKey(std::string& pem, std::string& problem);

} // namespace olv
