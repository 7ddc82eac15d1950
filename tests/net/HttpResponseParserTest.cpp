#include "net/HttpResponseParser.h"

#include "net/ChunkedDecoder.h"
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

// Status, reason, length, type, location and transfer encoding in one line.
std::string Results(const HttpResponseParser& parser) {
    return std::to_string(parser.StatusCode()) + "|" + parser.ReasonPhrase() + "|" +
           std::to_string(parser.ContentLength()) + "|" + parser.ContentType() + "|" +
           parser.Location() + "|" + parser.TransferEncoding();
}

TEST(HttpResponseParserTest, ReadsStatusAndTheHeadersInUseFedByteByByte) {
    const std::pair<std::string, const char*> cases[] = {
        {"HTTP/1.1 301 Moved Permanently\r\nCONTENT-LENGTH:  1234\r\n"
         "Content-Type: Text/HTML; Charset=UTF-8\r\nLocation: http://example.com/New\r\n"
         "Set-Cookie: a=b\r\nno colon here\r\nTransfer-Encoding: Chunked\r\n\r\nbody",
         "301|Moved Permanently|1234|text/html; charset=utf-8|http://example.com/New|chunked"},
        // Bare line feeds; a malformed length counts as none.
        {"HTTP/1.0 404 Not Found\nContent-Length: x\n\nbody", "404|Not Found|-1|||"},
        // No reason phrase, and the stream ends inside the headers.
        {"HTTP/1.1 200\r\nContent-Type: text/plain", "200||-1|text/plain||"},
    };
    // Byte by byte: the head ends exactly where its empty line does, whatever the pieces.
    for (const auto& [response, results] : cases) {
        SCOPED_TRACE(response);
        const size_t headSize = response.size() - (EndsWith(response, "body") ? 4 : 0);
        HttpResponseParser parser;
        size_t used = 0;
        for (size_t i = 0; i < response.size() && !parser.Complete(); ++i)
            used += parser.Feed(response.substr(i, 1));
        EXPECT_EQ(headSize, used);
        EXPECT_EQ(headSize < response.size(), parser.Complete()); // not before the end
        parser.Finish();
        EXPECT_EQ(results, Results(parser));
    }
}

TEST(HttpResponseParserTest, RejectsWhatIsNotAnHttp1StatusLineAndLinesOverTheLimit) {
    for (const char* input : {"<html>hello</html>\r\n", "HTTP/2 200\r\n\r\n",
                              "HTTP/1.1 2x0 OK\r\n\r\n", "\r\n", "HTT" /* cut off, then closed */})
        EXPECT_EQ("Invalid HTTP response", FailureOf(input)) << input;

    // A line may hold 8193 bytes without its end.
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

// Random and cut-off responses must end in a whole header block, a decoded chunked body or an
// EHttpError, never a crash or a hang (this runs under the sanitizers too).
TEST(HttpResponseParserTest, SurvivesRandomAndCutOffInputWithAChunkedBody) {
    std::mt19937 random(20240611);
    const std::string valid = "HTTP/1.1 200 OK\r\nContent-Length: 12\r\nLocation: /x\r\n\r\n"
                              "5\r\nhello\r\n7;x=y\r\n world!\r\n0\r\n\r\n";
    const std::string alphabet("HTTP/1.0 2345:;\r\nabcf\xff\0", 23);
    for (int round = 0; round < 3000; ++round) {
        std::string input = valid.substr(0, random() % (valid.size() + 1));
        for (size_t noise = round % 2 ? random() % 200 : 0; noise > 0; --noise)
            input += alphabet[random() % alphabet.size()];
        HttpResponseParser parser;
        ChunkedDecoder chunks;
        std::string body;
        try {
            for (size_t at = 0, piece = 0; at < input.size(); at += piece) {
                piece = 1 + random() % 64;
                std::string_view bytes = std::string_view(input).substr(at, piece);
                if (!parser.Complete())
                    bytes.remove_prefix(parser.Feed(bytes));
                chunks.Feed(bytes, [&body](std::string_view data) { body.append(data); });
            }
            parser.Finish();
        } catch (const EHttpError&) {
        }
        // Without noise, what was decoded is the start of the page.
        ASSERT_TRUE(round % 2 != 0 || body == std::string("hello world!").substr(0, body.size()))
            << body;
    }
}

} // namespace
} // namespace olv
