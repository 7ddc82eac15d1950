#include "net/HttpResponseParser.h"

#include "net/EHttpError.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace olv {
namespace {

std::string FailureOf(const std::string& input) {
    try {
        HttpResponseParser parser;
        parser.Feed(input);
        parser.Finish();
    } catch (const EHttpError& failure) {
        return failure.what();
    }
    return "";
}

TEST(HttpResponseParserTest, ReadsStatusAndTheHeadersInUse) {
    const std::string response = "HTTP/1.1 301 Moved Permanently\r\n"
                                 "CONTENT-LENGTH:  1234\r\n"
                                 "Content-Type: Text/HTML; Charset=UTF-8\r\n"
                                 "Location: http://example.com/New\r\n"
                                 "Set-Cookie: a=b\r\n"
                                 "no colon here\r\n"
                                 "\r\n"
                                 "body";
    HttpResponseParser parser;
    EXPECT_EQ(response.size() - 4, parser.Feed(response));
    EXPECT_TRUE(parser.Complete());
    EXPECT_EQ(301, parser.StatusCode());
    EXPECT_EQ("Moved Permanently", parser.ReasonPhrase());
    EXPECT_EQ(1234, parser.ContentLength());
    EXPECT_EQ("text/html; charset=utf-8", parser.ContentType());
    EXPECT_EQ("http://example.com/New", parser.Location());
}

TEST(HttpResponseParserTest, AcceptsBareLineFeedsAndBytesOneAtATime) {
    const std::string response = "HTTP/1.0 404 Not Found\nContent-Length: x\n\nrest";
    HttpResponseParser parser;
    size_t used = 0;
    for (size_t i = 0; i < response.size() && !parser.Complete(); ++i)
        used += parser.Feed(response.substr(i, 1));
    EXPECT_EQ(response.size() - 4, used);
    EXPECT_EQ(404, parser.StatusCode());
    EXPECT_EQ("Not Found", parser.ReasonPhrase());
    EXPECT_EQ(-1, parser.ContentLength()); // malformed: as if none was sent
}

TEST(HttpResponseParserTest, StatusWithoutReasonAndEndOfStreamInTheHeaders) {
    HttpResponseParser parser;
    parser.Feed("HTTP/1.1 200\r\nContent-Type: text/plain");
    EXPECT_FALSE(parser.Complete());
    parser.Finish();
    EXPECT_TRUE(parser.Complete());
    EXPECT_EQ(200, parser.StatusCode());
    EXPECT_EQ("", parser.ReasonPhrase());
    EXPECT_EQ("text/plain", parser.ContentType());

    HttpResponseParser nothing;
    EXPECT_TRUE(nothing.Empty());
    nothing.Finish();
    EXPECT_EQ(0, nothing.StatusCode());
}

TEST(HttpResponseParserTest, RejectsWhatIsNotAnHttp1StatusLine) {
    EXPECT_EQ("Invalid HTTP response", FailureOf("<html>hello</html>\r\n"));
    EXPECT_EQ("Invalid HTTP response", FailureOf("HTTP/2 200\r\n\r\n"));
    EXPECT_EQ("Invalid HTTP response", FailureOf("HTTP/1.1 2x0 OK\r\n\r\n"));
    EXPECT_EQ("Invalid HTTP response", FailureOf("\r\n"));
    EXPECT_EQ("Invalid HTTP response", FailureOf("HTT")); // cut off, then closed
}

TEST(HttpResponseParserTest, LineLimitIs8193BytesWithoutTheLineEnd) {
    const std::string atLimit(HttpResponseParser::kMaxLineLength - 8, 'v');
    EXPECT_EQ("", FailureOf("HTTP/1.0 200 OK\r\nX-Long: " + atLimit + "\r\n\r\n"));
    EXPECT_EQ("HTTP line too long",
              FailureOf("HTTP/1.0 200 OK\r\nX-Long: " + atLimit + "v\r\n\r\n"));
    EXPECT_EQ("HTTP line too long", FailureOf("HTTP/1.0 200 OK\nX-Long: " + atLimit + "v\n\n"));
    // Fails as soon as the line is too long, without waiting for its end.
    HttpResponseParser endless;
    endless.Feed("HTTP/1.0 200 OK\r\n");
    EXPECT_THROW(
        {
            for (int i = 0; i < 100; ++i)
                endless.Feed(std::string(1000, 'a'));
        },
        EHttpError);
}

// Random and truncated input must end in a complete header block or an EHttpError, never a
// crash or a hang (this runs under the sanitizers too).
TEST(HttpResponseParserTest, SurvivesRandomAndTruncatedInput) {
    std::mt19937 random(20240611);
    const std::string valid = "HTTP/1.1 200 OK\r\nContent-Length: 12\r\nContent-Type: a/b\r\n"
                              "Location: /x\r\n\r\nhello world!";
    std::string alphabet = "HTTP/1.0 2345:\r\nabc";
    alphabet += '\0';
    alphabet += '\xff';
    for (int round = 0; round < 3000; ++round) {
        std::string input;
        switch (round % 3) {
        case 0: // truncated valid response
            input = valid.substr(0, random() % (valid.size() + 1));
            break;
        case 1: // valid start, then noise
            input = valid.substr(0, random() % 20);
            for (size_t n = random() % 200; n > 0; --n)
                input += alphabet[random() % alphabet.size()];
            break;
        default: // raw bytes, sometimes long
            for (size_t n = random() % (round % 50 == 2 ? 20000 : 300); n > 0; --n)
                input += static_cast<char>(random() % 256);
        }
        HttpResponseParser parser;
        try {
            size_t at = 0;
            while (at < input.size() && !parser.Complete()) {
                const size_t piece = 1 + random() % 64;
                const size_t used = parser.Feed(std::string_view(input).substr(at, piece));
                ASSERT_LE(used, piece);
                at += std::min(piece, input.size() - at);
            }
            parser.Finish();
            EXPECT_TRUE(parser.Complete());
        } catch (const EHttpError&) {
        }
    }
}

} // namespace
} // namespace olv
