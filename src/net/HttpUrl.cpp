#include "net/HttpUrl.h"

#include "util/Strings.h"

namespace olv {
namespace {

bool IsSchemeText(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text) {
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

std::string DefaultPort(std::string_view scheme) {
    return scheme == "https" ? "443" : "80";
}

// An IPv6 literal needs its brackets back wherever a port may follow it.
std::string BracketedHost(const std::string& host) {
    return host.find(':') == std::string::npos ? host : "[" + host + "]";
}

void SplitUserInfo(std::string_view userInfo, HttpUrl& url) {
    url.hasUser = true;
    const auto colon = userInfo.find(':');
    url.user = std::string(userInfo.substr(0, colon));
    if (colon != std::string_view::npos)
        url.password = std::string(userInfo.substr(colon + 1));
}

void SplitHostPort(std::string_view hostPort, HttpUrl& url) {
    std::string_view portText;
    if (StartsWith(hostPort, "[")) {
        const auto close = hostPort.find(']');
        url.host =
            std::string(hostPort.substr(1, close == std::string_view::npos ? close : close - 1));
        if (close != std::string_view::npos && hostPort.substr(close + 1, 1) == ":")
            portText = hostPort.substr(close + 2);
    } else {
        const auto colon = hostPort.rfind(':');
        url.host = std::string(hostPort.substr(0, colon));
        if (colon != std::string_view::npos)
            portText = hostPort.substr(colon + 1);
    }
    url.portGiven = !portText.empty();
    url.port = url.portGiven ? std::string(portText) : DefaultPort(url.scheme);
}

// The folder part of a path (through its last '/'), ignoring the query.
std::string_view PathFolder(std::string_view path) {
    const std::string_view withoutQuery = path.substr(0, path.find('?'));
    const auto slash = withoutQuery.rfind('/');
    return slash == std::string_view::npos ? std::string_view("/")
                                           : withoutQuery.substr(0, slash + 1);
}

} // namespace

HttpUrl HttpUrl::Parse(std::string_view text) {
    HttpUrl url;
    std::string_view rest = TrimView(text);
    const auto schemeEnd = rest.find("://");
    if (schemeEnd != std::string_view::npos && IsSchemeText(rest.substr(0, schemeEnd))) {
        url.scheme = LowerCase(rest.substr(0, schemeEnd));
        rest.remove_prefix(schemeEnd + 3);
    }
    rest = rest.substr(0, rest.find('#'));

    const auto authorityEnd = rest.find_first_of("/?");
    std::string_view authority = rest.substr(0, authorityEnd);
    const std::string_view path =
        authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);
    url.path =
        path.empty() ? "/" : (path.front() == '?' ? "/" + std::string(path) : std::string(path));

    const auto at = authority.rfind('@');
    if (at != std::string_view::npos) {
        SplitUserInfo(authority.substr(0, at), url);
        authority.remove_prefix(at + 1);
    }
    SplitHostPort(authority, url);
    return url;
}

std::string HttpUrl::ProxyTarget() const {
    std::string target = scheme + "://" + BracketedHost(host);
    if (portGiven)
        target += ":" + port;
    return target + path;
}

std::string HttpUrl::Authority() const {
    return BracketedHost(host) + ":" + port;
}

HttpUrl HttpUrl::Resolve(std::string_view location) const {
    const std::string_view trimmed = TrimView(location);
    const auto schemeEnd = trimmed.find("://");
    if (schemeEnd != std::string_view::npos && IsSchemeText(trimmed.substr(0, schemeEnd)))
        return Parse(trimmed);
    if (StartsWith(trimmed, "//"))
        return Parse(scheme + ":" + std::string(trimmed));

    HttpUrl next = *this;
    const std::string_view relative = trimmed.substr(0, trimmed.find('#'));
    if (relative.empty())
        return next;
    if (relative.front() == '/')
        next.path = std::string(relative);
    else if (relative.front() == '?')
        next.path = path.substr(0, path.find('?')) + std::string(relative);
    else
        next.path = std::string(PathFolder(path)) + std::string(relative);
    return next;
}

} // namespace olv
