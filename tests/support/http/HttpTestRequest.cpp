#include "support/http/HttpTestRequest.h"

#include "util/Strings.h"

#include <algorithm>
#include <sstream>

namespace olv::test {
namespace {

std::string_view WithoutCr(std::string_view line) {
    return EndsWith(line, "\r") ? line.substr(0, line.size() - 1) : line;
}

} // namespace

std::string HttpTestRequest::Header(std::string_view name) const {
    for (const auto& [headerName, value] : headers)
        if (SameText(headerName, name))
            return value;
    return {};
}

bool HttpTestRequest::HasHeader(std::string_view name) const {
    return std::any_of(headers.begin(), headers.end(),
                       [&](const auto& header) { return SameText(header.first, name); });
}

bool HttpTestRequest::Parse(const std::string& raw, HttpTestRequest& request) {
    request = HttpTestRequest();
    request.raw = raw;
    std::istringstream lines(raw);
    std::string line;
    if (!std::getline(lines, line))
        return false;
    std::istringstream words{std::string(WithoutCr(line))};
    if (!(words >> request.method >> request.target >> request.version))
        return false;
    while (std::getline(lines, line)) {
        const std::string_view text = WithoutCr(line);
        const auto colon = text.find(':');
        if (text.empty() || colon == std::string_view::npos)
            continue;
        request.headers.emplace_back(std::string(TrimView(text.substr(0, colon))),
                                     std::string(TrimView(text.substr(colon + 1))));
    }
    return true;
}

} // namespace olv::test
