#include "net/DownloadClass.h"

#include "platform/Files.h"
#include "platform/ProcessMessages.h"
#include "support/TempDir.h"
#include "support/http/HttpTestServer.h"
#include "util/Log.h"

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

    // The messages of the log, without their time stamps ("date time - message").
    std::vector<std::string> LogMessages() const {
        std::vector<std::string> messages;
        for (const std::string& line : SplitLines(folder_.Read("olvenar.dbg")))
            messages.push_back(line.substr(line.find(" - ") + 3));
        return messages;
    }
    long LogCount(const std::string& message) const {
        const auto messages = LogMessages();
        return std::count(messages.begin(), messages.end(), message);
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
    EXPECT_EQ(LogMessages(),
              (std::vector<std::string>{"In GetFile, URL=" + server.Url("/p"), "filename=" + file,
                                        "No Backup", "got past FileStream.create"}));

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
    struct Case {
        const char* name;
        bool tls; // ends without the TLS close notice
        const char* head;
        const char* body;
        size_t pieceSize; // sent 5 ms apart; 1: a trickle, 100 ms apart, against a 600 ms limit
        const char* failure;
        const char* stored;
        bool lingers = false; // after the body, the connection stays open and silent
    };
    const Case cases[] = {
        {"missing", false, "HTTP/1.0 404 Not Found\r\n\r\n", "sorry", 0, "Not Found", kOld},
        {"busy", false, "HTTP/1.1 503\r\n\r\n", "busy", 0, "HTTP error 503", kOld}, // no reason
        {"junk", false, "SSH-2.0-OpenSSH\r\n\r\n", "", 0, "Invalid HTTP response", kOld},
        {"silent", false, "", "", 0, "No Data Received", kOld},
        {"empty", false, "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", "", 0, "No Data Received",
         kOld},
        // The length announced is the page: what follows is not read, nor waited for.
        {"long", false, "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n", "0123", 0, "", "012"},
        {"lingering", false, "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\n", "page", 0, "", "page",
         true},
        {"short", false, "HTTP/1.0 200 OK\r\nContent-Length: 20\r\n\r\n", "ten bytes.", 0, kCut,
         kOld},
        {"chunked", false, kChunked, "5\r\nhello\r\n6;x=y\r\n world\r\n0\r\nX-T: t\r\n\r\n", 3, "",
         "hello world"},
        {"chunked-cut", false, kChunked, "5\r\nhello\r\n6\r\n wo", 3, kCut, kOld},
        {"chunked-bad", false, kChunked, "5\r\nhello, world\r\n0\r\n\r\n", 0,
         "Invalid chunked encoding", kOld},
        {"gzip", false, "HTTP/1.0 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n", "\x1f\x8b", 0,
         "Unsupported transfer encoding: gzip", kOld},
        {"unclean", true, "HTTP/1.0 200 OK\r\n\r\n", "part", 0, kCut, kOld},
        {"unclean-short", true, "HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\n", "part", 0, kCut,
         kOld},
        {"unclean-whole", true, "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\n", "part", 0, "",
         "part"},
        // Never silent long enough for the idle timeout, but over the time limit.
        {"trickle", false, "HTTP/1.0 200 OK\r\n\r\n", "0123456789", 1, "Connection timed out",
         kOld},
    };
    const auto answer = [&cases](const HttpTestRequest& request) {
        for (const Case& c : cases)
            if (request.target == "/" + std::string(c.name)) {
                HttpTestResponse response;
                response.head = c.head;
                response.body = c.body;
                response.pieceSize = c.pieceSize;
                response.delayBetweenPieces = std::chrono::milliseconds(c.pieceSize == 1 ? 100 : 5);
                response.skipCloseNotify = c.tls;
                response.endless = c.lingers;
                if (c.lingers)
                    response.delayBetweenPieces = std::chrono::minutes(5);
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
        if (c.lingers) // so that waiting for the end would fail soon
            download.Client().IdleTimeout = std::chrono::seconds(2);
        const std::string url = (c.tls ? secure : plain).Url("/" + std::string(c.name));
        const bool ok = *c.failure == '\0';
        EXPECT_EQ(ok, download.GetFile(url, folder_.File(c.name), true));
        EXPECT_EQ(c.failure, download.ErrorText());
        EXPECT_EQ(c.stored, folder_.Read(c.name));
        EXPECT_EQ(kOld, folder_.Read(c.name + std::string("bu")));
    }
    EXPECT_EQ(1, LogCount("Get error=Not Found"));
    EXPECT_EQ(2, LogCount("rcvdcount = 0"));
    // A file that did not exist before does not exist after a failure either.
    EXPECT_FALSE(download_.GetFile(plain.Url("/short"), folder_.File("Master.chl"), true));
    EXPECT_FALSE(std::filesystem::exists(folder_.File("Master.chl")));
}

TEST_F(DownloadClassTest, AbortTwiceAbortsTheClientOnce) {
    HttpTestServer server([](const HttpTestRequest&) {
        HttpTestResponse endless;
        endless.endless = true;
        endless.delayBetweenPieces = std::chrono::milliseconds(10);
        return endless;
    });
    SetProcessMessagesHook([&] {
        if (download_.Client().RcvdCount() > 0) {
            download_.Abort();
            download_.Abort();
        }
    });
    EXPECT_FALSE(download_.GetFile(server.Url("/"), folder_.File("f"), false));
    EXPECT_TRUE(download_.Aborted());
    EXPECT_EQ("Connection aborted on request", download_.ErrorText());
    EXPECT_EQ(1, LogCount("before call to httpcli.abort"));
    EXPECT_EQ(1, LogCount("after httpcli abort"));
    EXPECT_EQ(1, LogCount("leaving downloadclass.abort"));
    EXPECT_EQ(1, LogCount("Aborted <> false"));

    // Aborted for good: a later GetFile sends nothing.
    SetProcessMessagesHook(nullptr);
    const size_t requests = server.RequestCount();
    EXPECT_FALSE(download_.GetFile(server.Url("/"), folder_.File("g"), false));
    EXPECT_EQ(requests, server.RequestCount());
}

} // namespace
} // namespace olv
