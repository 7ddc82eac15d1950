#include "net/HttpResponseParser.h"

#include "net/EHttpError.h"
#include "util/Strings.h"

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

// Status, reason, length, type and location in one line.
std::string Results(const HttpResponseParser& parser) {
    return std::to_string(parser.StatusCode()) + "|" + parser.ReasonPhrase() + "|" +
           std::to_string(parser.ContentLength()) + "|" + parser.ContentType() + "|" +
           parser.Location();
}

TEST(HttpResponseParserTest, ReadsStatusAndTheHeadersInUseFedWholeOrByteByByte) {
    const std::pair<std::string, const char*> cases[] = {
        {"HTTP/1.1 301 Moved Permanently\r\nCONTENT-LENGTH:  1234\r\n"
         "Content-Type: Text/HTML; Charset=UTF-8\r\nLocation: http://example.com/New\r\n"
         "Set-Cookie: a=b\r\nno colon here\r\n\r\nbody",
         "301|Moved Permanently|1234|text/html; charset=utf-8|http://example.com/New"},
        // Bare line feeds; a malformed length counts as none.
        {"HTTP/1.0 404 Not Found\nContent-Length: x\n\nbody", "404|Not Found|-1||"},
        // No reason phrase, and the stream ends inside the headers.
        {"HTTP/1.1 200\r\nContent-Type: text/plain", "200||-1|text/plain|"},
    };
    for (const auto& [response, results] : cases) {
        SCOPED_TRACE(response);
        const size_t headSize = response.size() - (EndsWith(response, "body") ? 4 : 0);
        HttpResponseParser whole;
        EXPECT_EQ(headSize, whole.Feed(response));
        HttpResponseParser bytes;
        size_t used = 0;
        for (size_t i = 0; i < response.size() && !bytes.Complete(); ++i)
            used += bytes.Feed(response.substr(i, 1));
        EXPECT_EQ(headSize, used);
        for (HttpResponseParser* parser : {&whole, &bytes}) {
            EXPECT_EQ(headSize < response.size(), parser->Complete()); // not before the end
            parser->Finish();
            EXPECT_EQ(results, Results(*parser));
        }
    }
}

TEST(HttpResponseParserTest, RejectsWhatIsNotAnHttp1StatusLine) {
    for (const char* input : {"<html>hello</html>\r\n", "HTTP/2 200\r\n\r\n",
                              "HTTP/1.1 2x0 OK\r\n\r\n", "\r\n", "HTT" /* cut off, then closed */})
        EXPECT_EQ("Invalid HTTP response", FailureOf(input)) << input;
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
