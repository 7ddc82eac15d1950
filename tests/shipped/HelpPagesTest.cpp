#include "data/ShippedFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace olv {
namespace {

// Pages as named under data/, which is also their layout in the program folder.
std::vector<std::string> HelpPages() {
    std::vector<std::string> pages{"QuickStart.html"};
    for (const auto& entry : fs::directory_iterator(fs::path(OLVENAR_DATA_DIR) / "help"))
        if (entry.path().extension() == ".html")
            pages.push_back("help/" + entry.path().filename().string());
    return pages;
}

bool IsWebAddress(const std::string& target) {
    return target.rfind("https://", 0) == 0 || target.rfind("http://", 0) == 0;
}

TEST(HelpPages, AreSelfContainedAccessiblePages) {
    const std::regex loaded(R"((?:src|<link[^>]*href)="([^"]*)\")");
    for (const std::string& page : HelpPages()) {
        const std::string html = test::ReadShippedFile(page);
        EXPECT_EQ(test::FirstNonAsciiByte(html), std::string::npos) << page;
        for (const char* part : {"<html lang=\"en\">", "<title>", "<h1>", "<main>"})
            EXPECT_NE(html.find(part), std::string::npos) << page << " lacks " << part;
        EXPECT_EQ(html.find("<script"), std::string::npos) << page;
        // The help opens offline: nothing a page loads may come from the network.
        for (std::sregex_iterator it(html.begin(), html.end(), loaded), end; it != end; ++it)
            EXPECT_FALSE(IsWebAddress((*it)[1])) << page << " loads " << (*it)[1];
    }
}

TEST(HelpPages, LocalLinksReachAFileAndAnAnchor) {
    const std::regex link(R"((?:href|src)="([^"]*)\")");
    for (const std::string& page : HelpPages()) {
        const std::string html = test::ReadShippedFile(page);
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
            const std::string target = (*it)[1];
            if (IsWebAddress(target))
                continue;
            const size_t hash = target.find('#');
            const std::string file = target.substr(0, hash);
            const std::string linked =
                file.empty() ? page
                             : (fs::path(page).parent_path() / file).lexically_normal().string();
            ASSERT_TRUE(fs::is_regular_file(fs::path(OLVENAR_DATA_DIR) / linked))
                << page << " links to missing " << target;
            if (hash == std::string::npos)
                continue;
            const std::string anchor = "id=\"" + target.substr(hash + 1) + "\"";
            EXPECT_NE(test::ReadShippedFile(linked).find(anchor), std::string::npos)
                << page << " links to missing anchor " << target;
        }
    }
    EXPECT_NE(test::ReadShippedFile("QuickStart.html").find("href=\"help/index.html\""),
              std::string::npos);
}

} // namespace
} // namespace olv
