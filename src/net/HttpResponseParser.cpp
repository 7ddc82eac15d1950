#include "net/HttpResponseParser.h"

#include "net/EHttpError.h"
#include "util/Strings.h"

#include <charconv>

namespace olv {
namespace {

bool IsDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// A malformed or out-of-range length is ignored, as if none had been announced.
int64_t ParseContentLength(std::string_view value) {
    if (!IsDigits(value))
        return -1;
    int64_t length = -1;
    const auto result = std::from_chars(value.data(), value.data() + value.size(), length);
    return result.ec == std::errc() ? length : -1;
}

} // namespace

size_t HttpResponseParser::Feed(std::string_view bytes) {
    size_t used = 0;
    while (used < bytes.size() && !complete_) {
        const std::string_view rest = bytes.substr(used);
        const auto lineEnd = rest.find('\n');
        const std::string_view piece = rest.substr(0, lineEnd);
        // A CR may still follow the longest allowed line, so allow one byte more until the LF.
        if (line_.size() + piece.size() > kMaxLineLength + 1)
            throw EHttpError("HTTP line too long");
        line_.append(piece);
        if (lineEnd == std::string_view::npos)
            return bytes.size();
        used += lineEnd + 1;
        std::string line = std::move(line_);
        line_.clear();
        TakeLine(line);
    }
    return used;
}

void HttpResponseParser::Finish() {
    if (complete_)
        return;
    if (!line_.empty()) {
        std::string line = std::move(line_);
        line_.clear();
        TakeLine(line);
    }
    complete_ = true;
}

void HttpResponseParser::TakeLine(std::string_view line) {
    if (EndsWith(line, "\r"))
        line.remove_suffix(1);
    if (line.size() > kMaxLineLength)
        throw EHttpError("HTTP line too long");
    if (!statusSeen_)
        TakeStatusLine(line);
    else if (line.empty())
        complete_ = true;
    else
        TakeHeader(line);
}

void HttpResponseParser::TakeStatusLine(std::string_view line) {
    if (!StartsWith(line, "HTTP/1.0") && !StartsWith(line, "HTTP/1.1"))
        throw EHttpError("Invalid HTTP response");
    const std::string_view code = SubstringView(line, 10, 3);
    if (code.size() != 3 || !IsDigits(code))
        throw EHttpError("Invalid HTTP response");
    statusSeen_ = true;
    statusCode_ = Number(code);
    reasonPhrase_ = Substring(line, 14, kMax);
}

void HttpResponseParser::TakeHeader(std::string_view line) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos)
        return;
    const std::string name = LowerCase(TrimView(line.substr(0, colon)));
    const std::string_view value = TrimView(line.substr(colon + 1));
    if (name == "content-length")
        contentLength_ = ParseContentLength(value);
    else if (name == "content-type")
        contentType_ = LowerCase(value);
    else if (name == "location")
        location_ = std::string(value);
    else if (name == "transfer-encoding")
        transferEncoding_ = LowerCase(value);
}

} // namespace olv
