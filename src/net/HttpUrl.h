#pragma once

#include <string>
#include <string_view>

namespace olv {

// One request address split into its parts:
// scheme "://" [user [":" password] "@"] host [":" port] path.
class HttpUrl {
public:
    std::string scheme = "http";
    std::string user;
    std::string password;
    bool hasUser = false;
    std::string host;
    std::string port = "80";
    bool portGiven = false;
    std::string path = "/"; // path and query; never empty

    // Splits url. Without "://" the scheme is http; the port defaults to 80 (443 for https);
    // an empty path becomes "/"; a fragment ("#...") is dropped, as browsers never send it.
    static HttpUrl Parse(std::string_view url);

    bool Secure() const { return scheme == "https"; }

    // The whole address as a proxy wants it: scheme "://" host [":" port] path (no user).
    std::string ProxyTarget() const;

    // "host:port" as a CONNECT tunnel names it.
    std::string Authority() const;

    // The address a relocation leads to. An absolute location replaces everything; one
    // beginning with "//" keeps the scheme; any other keeps scheme, host, port and user
    // ("/x" replaces the path, "?q" the query, "x" the last segment of the path).
    HttpUrl Resolve(std::string_view location) const;
};

} // namespace olv
