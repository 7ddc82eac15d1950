#include "net/DownloadClass.h"

#include "platform/Files.h"
#include "platform/ProcessMessages.h"
#include "support/TempDir.h"
#include "support/http/HttpTestServer.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace olv {
namespace {

using test::HttpTestRequest;
using test::HttpTestResponse;
using test::HttpTestServer;

// Every test logs into its own folder, so the log lines can be checked.
class DownloadClassTest : public ::testing::Test {
protected:
    DownloadClassTest() { SetLogFile(folder_.File("olvenar.dbg")); }
    ~DownloadClassTest() override {
        SetLogFile("");
        SetProcessMessagesHook(nullptr);
    }

    // How often the log holds the message (lines are "date time - message").
    long LogCount(const std::string& message) const {
        const auto lines = SplitLines(folder_.Read("olvenar.dbg"));
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return EndsWith(line, " - " + message);
        });
    }

    test::TempDir folder_;
    DownloadClass download_;
};

TEST_F(DownloadClassTest, DownloadsIntoTheFileAndShowsProgress) {
    HttpTestServer server([](const HttpTestRequest& request) {
        if (request.target == "/unannounced")
            return HttpTestResponse::Status(200, "OK", "abc");
        HttpTestResponse response = HttpTestResponse::Ok("<html>weather</html>");
        response.pieceSize = 8;
        response.delayBetweenPieces = std::chrono::milliseconds(20);
        return response;
    });
    std::vector<std::string> captions;
    download_.ProgressControl = [&](const std::string& caption) { captions.push_back(caption); };
    const std::string file = folder_.File("page.html");
    ASSERT_TRUE(download_.GetFile(server.Url("/p"), file, false)) << download_.ErrorText();
    EXPECT_EQ("<html>weather</html>", folder_.Read("page.html"));
    ASSERT_GE(captions.size(), 2u);
    EXPECT_EQ("Received 20 of 20.", captions.back());
    EXPECT_FALSE(std::filesystem::exists(file + "bu"));

    // Exactly the downloader's request: no Accept line.
    EXPECT_EQ("GET /p HTTP/1.0\r\n"
              "User-Agent: Mozilla/3.0 (compatible)\r\n"
              "Host: 127.0.0.1\r\n"
              "\r\n",
              server.LastRequest().raw);

    ASSERT_TRUE(download_.GetFile(server.Url("/unannounced"), file, false));
    EXPECT_EQ("Received 3 of -1.", captions.back());
}

// Refused before anything is sent: a missing folder, and any symbolic link, which a script
// could otherwise use to write outside the program folder.
TEST_F(DownloadClassTest, AFileThatCannotBeCreatedSendsNoRequest) {
    HttpTestServer server([](const HttpTestRequest&) { return HttpTestResponse::Ok("x"); });
    test::TempDir outside;
    outside.Write("existing", "mine");
    std::filesystem::create_symlink(outside.File("planted"), folder_.File("dangling"));
    std::filesystem::create_symlink(outside.File("existing"), folder_.File("link"));
    const std::pair<const char*, const char*> cases[] = {
        {"no-such-folder/page.html", "No such file or directory"},
        {"dangling", "the name is a symbolic link"},
        {"link", "the name is a symbolic link"},
    };
    for (const auto& [name, reason] : cases) {
        const std::string file = folder_.File(name);
        DownloadClass download;
        EXPECT_FALSE(download.GetFile(server.Url("/"), file, true));
        EXPECT_EQ("Unable to create " + file + " - " + reason, download.ErrorText());
        EXPECT_EQ(1, LogCount("FileStream.create error=" + download.ErrorText()));
    }
    EXPECT_FALSE(std::filesystem::exists(outside.File("planted")));
    EXPECT_EQ("mine", outside.Read("existing"));
    EXPECT_EQ(0u, server.RequestCount());
}

TEST_F(DownloadClassTest, AFullDiskFailsTheDownload) {
    HttpTestServer server([](const HttpTestRequest&) { return HttpTestResponse::Ok("data"); });
    EXPECT_FALSE(download_.GetFile(server.Url("/"), "/dev/full", false));
    EXPECT_EQ("Unable to write /dev/full - No space left on device", download_.ErrorText());
}

// Only a whole page replaces the stored one: not an error page, nor one that stops early or
// whose end cannot be known. Each case downloads over a file of old contents with a backup.
TEST_F(DownloadClassTest, OnlyAWholePageReplacesTheFile) {
    constexpr const char* kOld = "old contents";
    constexpr const char* kCut = "Connection closed before the whole page arrived";
    constexpr const char* kChunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    // "unclean" cases end without the TLS close notice; after the body of "lingering" the
    // connection stays open and silent.
    struct Case {
        const char* name;
        const char* head;
        const char* body;
        size_t pieceSize; // sent 5 ms apart; 1: a trickle, 100 ms apart, against a 600 ms limit
        const char* failure;
        const char* stored;
    };
    const Case cases[] = {
        {"missing", "HTTP/1.0 404 Not Found\r\n\r\n", "sorry", 0, "Not Found", kOld},
        {"busy", "HTTP/1.1 503\r\n\r\n", "busy", 0, "HTTP error 503", kOld}, // no reason
        {"silent", "", "", 0, "No Data Received", kOld},
        {"empty", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", "", 0, "No Data Received", kOld},
        // The length announced is the page: what follows is not read, nor waited for.
        {"long", "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n", "0123", 0, "", "012"},
        {"lingering", "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\n", "page", 0, "", "page"},
        {"short", "HTTP/1.0 200 OK\r\nContent-Length: 20\r\n\r\n", "ten bytes.", 0, kCut, kOld},
        {"chunked", kChunked, "5\r\nhello\r\n6;x=y\r\n world\r\n0\r\nX-T: t\r\n\r\n", 3, "",
         "hello world"},
        {"chunked-cut", kChunked, "5\r\nhello\r\n6\r\n wo", 3, kCut, kOld},
        {"chunked-bad", kChunked, "5\r\nhello, world\r\n0\r\n\r\n", 0, "Invalid chunked encoding",
         kOld},
        {"gzip", "HTTP/1.0 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n", "\x1f\x8b", 0,
         "Unsupported transfer encoding: gzip", kOld},
        {"unclean", "HTTP/1.0 200 OK\r\n\r\n", "part", 0, kCut, kOld},
        {"unclean-whole", "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\n", "part", 0, "", "part"},
        // Never silent long enough for the idle timeout, but over the time limit.
        {"trickle", "HTTP/1.0 200 OK\r\n\r\n", "0123456789", 1, "Connection timed out", kOld},
    };
    const auto tls = [](const Case& c) { return StartsWith(c.name, "unclean"); };
    const auto lingers = [](const Case& c) { return std::string(c.name) == "lingering"; };
    const auto answer = [&](const HttpTestRequest& request) {
        for (const Case& c : cases)
            if (request.target == "/" + std::string(c.name)) {
                HttpTestResponse response;
                response.head = c.head;
                response.body = c.body;
                response.pieceSize = c.pieceSize;
                response.delayBetweenPieces = std::chrono::milliseconds(lingers(c)         ? 300000
                                                                        : c.pieceSize == 1 ? 100
                                                                                           : 5);
                response.skipCloseNotify = tls(c);
                response.endless = lingers(c);
                return response;
            }
        return HttpTestResponse::Status(404, "Not Found");
    };
    HttpTestServer plain(answer);
    HttpTestServer secure(answer, "localhost");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder_.Write(c.name, kOld);
        DownloadClass download;
        download.Client().CaFile = HttpTestServer::CaFile();
        if (c.pieceSize == 1)
            download.Client().TimeLimit = std::chrono::milliseconds(600);
        if (lingers(c)) // so that waiting for the end would fail soon
            download.Client().IdleTimeout = std::chrono::seconds(2);
        const std::string url = (tls(c) ? secure : plain).Url("/" + std::string(c.name));
        EXPECT_EQ(*c.failure == '\0', download.GetFile(url, folder_.File(c.name), true));
        EXPECT_EQ(c.failure, download.ErrorText());
        EXPECT_EQ(c.stored, folder_.Read(c.name));
        EXPECT_EQ(kOld, folder_.Read(c.name + std::string("bu")));
    }
    // A file that did not exist before does not exist after a failure either.
    EXPECT_FALSE(download_.GetFile(plain.Url("/short"), folder_.File("Master.chl"), true));
    EXPECT_FALSE(std::filesystem::exists(folder_.File("Master.chl")));
}

// Abort ends a request at once even while the server is still silent (the update check's
// Cancel aborts while the body streams in), and twice aborts the client once.
TEST_F(DownloadClassTest, AbortTwiceWhileWaitingAbortsTheClientOnceAndAtOnce) {
    HttpTestServer server([](const HttpTestRequest&) {
        HttpTestResponse late = HttpTestResponse::Ok("late");
        late.delayBefore = std::chrono::seconds(5);
        return late;
    });
    int pumps = 0;
    SetProcessMessagesHook([&] {
        if (++pumps == 4) {
            download_.Abort();
            download_.Abort();
        }
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(download_.GetFile(server.Url("/"), folder_.File("f"), false));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_TRUE(download_.Aborted());
    EXPECT_EQ("Connection aborted on request", download_.ErrorText());
    EXPECT_EQ(1, LogCount("before call to httpcli.abort"));
    EXPECT_EQ(1, LogCount("Aborted <> false"));

    // Aborted for good: a later GetFile sends nothing.
    SetProcessMessagesHook(nullptr);
    const size_t requests = server.RequestCount();
    EXPECT_FALSE(download_.GetFile(server.Url("/"), folder_.File("g"), false));
    EXPECT_EQ(requests, server.RequestCount());
}

} // namespace
} // namespace olv
