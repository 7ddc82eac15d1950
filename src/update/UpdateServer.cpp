#include "update/UpdateServer.h"

#include "net/HttpUrl.h"
#include "platform/Files.h"
#include "update/UpdateBuildSettings.h"
#include "util/Strings.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <exception>
#include <netinet/in.h>

namespace olv {
namespace {

bool IsLoopbackHost(const std::string& host) {
    in_addr v4{};
    if (::inet_pton(AF_INET, host.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    if (::inet_pton(AF_INET6, host.c_str(), &v6) == 1)
        return IN6_IS_ADDR_LOOPBACK(&v6);
    return SameText(host, "localhost");
}

} // namespace

std::string UpdateServerAddress() {
    const char* override = std::getenv("OLVENAR_UPDATE_URL");
    std::string address = Trim(override != nullptr ? override : kBuiltInUpdateUrl);
    while (EndsWith(address, "/"))
        address.pop_back();
    return address;
}

bool IsUpdateAddressAllowed(const std::string& address, std::string& problem) {
    const std::string lower = LowerCase(address);
    if (StartsWith(lower, "https://"))
        return true;
    if (StartsWith(lower, "http://") && IsLoopbackHost(HttpUrl::Parse(address).host))
        return true;
    problem = "The update server address " + address +
              " was refused: it must begin with https:// (http:// is only allowed on this "
              "computer)";
    return false;
}

bool UpdatePublicKey(std::string& pem, std::string& problem) {
    const char* file = std::getenv("OLVENAR_UPDATE_PUBLIC_KEY");
    if (file == nullptr || *file == '\0') {
        pem = kBuiltInUpdatePublicKey;
        if (!Trim(pem).empty())
            return true;
        problem = "this build has no key to check it with";
        return false;
    }
    try {
        if (ReadWholeFile(file, pem))
            return true;
    } catch (const std::exception&) {
    }
    problem = "the key file " + std::string(file) + " cannot be read";
    return false;
}

} // namespace olv
