#pragma once

#include "net/HttpCli.h"
#include "platform/ProcessMessages.h"

#include <gtest/gtest.h>
#include <string>

namespace olv::test {

// A client whose body lands in body_. Run() performs one Get (of url when given) and returns
// the text of what made it fail ("" when it succeeded), as the downloader would show it. A pump
// hook that a test installs is removed when the test ends.
class HttpCliFixture : public ::testing::Test {
protected:
    HttpCliFixture() {
        client_.RcvdStream = [this](std::string_view block) { body_.append(block); };
    }
    ~HttpCliFixture() override { SetProcessMessagesHook(nullptr); }

    std::string Run() {
        body_.clear();
        try {
            client_.Get();
        } catch (const std::exception& failure) {
            return failure.what();
        }
        return "";
    }
    std::string Run(const std::string& url) {
        client_.URL = url;
        return Run();
    }

    HttpCli client_;
    std::string body_;
};

} // namespace olv::test
