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
        response.chunkSize = 8;
        response.delayBetweenChunks = std::chrono::milliseconds(20);
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

TEST_F(DownloadClassTest, ServerErrorsAndEmptyAnswersFail) {
    HttpTestServer server([](const HttpTestRequest& request) {
        if (request.target == "/missing")
            return HttpTestResponse::Status(404, "Not Found", "sorry");
        return HttpTestResponse::Ok("");
    });
    EXPECT_FALSE(download_.GetFile(server.Url("/missing"), folder_.File("a"), false));
    EXPECT_EQ("Not Found", download_.ErrorText());
    EXPECT_EQ(1, LogCount("Get error=Not Found"));
    // The error page is not delivered; without a backup the file stays for the caller to remove.
    EXPECT_TRUE(std::filesystem::exists(folder_.File("a")));
    EXPECT_EQ("", folder_.Read("a"));

    DownloadClass empty;
    EXPECT_FALSE(empty.GetFile(server.Url("/empty"), folder_.File("b"), false));
    EXPECT_EQ("No Data Received", empty.ErrorText());
    EXPECT_EQ(1, LogCount("rcvdcount = 0"));
}

TEST_F(DownloadClassTest, AFileThatCannotBeCreatedSendsNoRequest) {
    HttpTestServer server([](const HttpTestRequest&) { return HttpTestResponse::Ok("x"); });
    const std::string file = folder_.File("no-such-folder/page.html");
    EXPECT_FALSE(download_.GetFile(server.Url("/"), file, true));
    EXPECT_EQ("Unable to create " + file + " - No such file or directory", download_.ErrorText());
    EXPECT_EQ(1, LogCount("FileStream.create error=" + download_.ErrorText()));
    EXPECT_EQ(0u, server.RequestCount());
}

TEST_F(DownloadClassTest, AFullDiskFailsTheDownload) {
    HttpTestServer server([](const HttpTestRequest&) { return HttpTestResponse::Ok("data"); });
    EXPECT_FALSE(download_.GetFile(server.Url("/"), "/dev/full", false));
    EXPECT_EQ("Unable to write /dev/full - No space left on device", download_.ErrorText());
}

TEST_F(DownloadClassTest, BackupKeepsThePreviousFile) {
    HttpTestServer server([](const HttpTestRequest& request) {
        if (request.target == "/new")
            return HttpTestResponse::Ok("new contents");
        HttpTestResponse broken = HttpTestResponse::Status(200, "OK", "half a fi");
        broken.rawHead = "HTTP/1.0 200 OK\r\n\r\n";
        broken.endless = true; // cut off by the size limit below
        return broken;
    });
    folder_.Write("OVDef.chl", "old contents\r\n");
    const std::string file = folder_.File("OVDef.chl");

    DownloadClass failing;
    failing.Client().MaxDocumentSize = 50;
    EXPECT_FALSE(failing.GetFile(server.Url("/broken"), file, true));
    EXPECT_EQ("Document too large", failing.ErrorText());
    EXPECT_EQ("old contents\r\n", folder_.Read("OVDef.chl"));
    EXPECT_EQ(1, LogCount("Yes backup"));

    EXPECT_TRUE(download_.GetFile(server.Url("/new"), file, true));
    EXPECT_EQ("new contents", folder_.Read("OVDef.chl"));
    EXPECT_EQ("old contents\r\n", folder_.Read("OVDef.chlbu"));

    // A file that did not exist before does not exist after a failure either.
    DownloadClass fresh;
    fresh.Client().MaxDocumentSize = 50;
    EXPECT_FALSE(fresh.GetFile(server.Url("/broken"), folder_.File("Master.chl"), true));
    EXPECT_FALSE(std::filesystem::exists(folder_.File("Master.chl")));
}

TEST_F(DownloadClassTest, AbortTwiceAbortsTheClientOnce) {
    HttpTestServer server([](const HttpTestRequest&) {
        HttpTestResponse endless;
        endless.endless = true;
        endless.delayBetweenChunks = std::chrono::milliseconds(10);
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
