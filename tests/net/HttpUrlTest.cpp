#include "net/HttpUrl.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

TEST(HttpUrlTest, SplitsEveryPart) {
    const HttpUrl url = HttpUrl::Parse("https://ann:se:cret@Example.org:8443/a/b?c=d#top");
    EXPECT_EQ("https", url.scheme);
    EXPECT_TRUE(url.hasUser);
    EXPECT_EQ("ann", url.user);
    EXPECT_EQ("se:cret", url.password);
    EXPECT_EQ("Example.org", url.host);
    EXPECT_EQ("8443", url.port);
    EXPECT_TRUE(url.portGiven);
    EXPECT_EQ("/a/b?c=d", url.path);
}

TEST(HttpUrlTest, DefaultsSchemePortAndPath) {
    const HttpUrl bare = HttpUrl::Parse("www.example.com");
    EXPECT_EQ("http", bare.scheme);
    EXPECT_EQ("www.example.com", bare.host);
    EXPECT_EQ("80", bare.port);
    EXPECT_FALSE(bare.portGiven);
    EXPECT_EQ("/", bare.path);
    EXPECT_FALSE(bare.hasUser);

    EXPECT_EQ("443", HttpUrl::Parse("HTTPS://example.com").port);
    EXPECT_EQ("https", HttpUrl::Parse("HTTPS://example.com").scheme);
    EXPECT_EQ("/?q=1", HttpUrl::Parse("http://example.com?q=1").path);
    EXPECT_EQ("80", HttpUrl::Parse("http://example.com:/x").port);
}

TEST(HttpUrlTest, UserWithoutPasswordAndIpv6Literal) {
    const HttpUrl user = HttpUrl::Parse("http://ann@host/");
    EXPECT_TRUE(user.hasUser);
    EXPECT_EQ("ann", user.user);
    EXPECT_EQ("", user.password);

    const HttpUrl v6 = HttpUrl::Parse("http://[::1]:8080/x");
    EXPECT_EQ("::1", v6.host);
    EXPECT_EQ("8080", v6.port);
    EXPECT_EQ("http://[::1]:8080/x", v6.ProxyTarget());
}

TEST(HttpUrlTest, ProxyTargetNamesPortOnlyWhenGivenAndNeverTheUser) {
    EXPECT_EQ("http://cache.example/x", HttpUrl::Parse("http://u:p@cache.example/x").ProxyTarget());
    EXPECT_EQ("http://h:81/", HttpUrl::Parse("h:81").ProxyTarget());
    EXPECT_EQ("h:443", HttpUrl::Parse("https://h/x").Authority());
}

TEST(HttpUrlTest, ResolvesRelocations) {
    const HttpUrl base = HttpUrl::Parse("https://u:p@host:444/dir/page.html?x=1");
    const HttpUrl absolute = base.Resolve("http://other/new");
    EXPECT_EQ("http", absolute.scheme);
    EXPECT_EQ("other", absolute.host);
    EXPECT_EQ("80", absolute.port);
    EXPECT_FALSE(absolute.hasUser);

    const HttpUrl rooted = base.Resolve("/moved?y=2");
    EXPECT_EQ("https", rooted.scheme);
    EXPECT_EQ("host", rooted.host);
    EXPECT_EQ("444", rooted.port);
    EXPECT_EQ("u", rooted.user);
    EXPECT_EQ("/moved?y=2", rooted.path);

    EXPECT_EQ("/dir/other.html", base.Resolve("other.html").path);
    EXPECT_EQ("/dir/page.html?z=3", base.Resolve("?z=3").path);
    EXPECT_EQ("/dir/page.html?x=1", base.Resolve("").path);

    const HttpUrl schemeRelative = base.Resolve("//cdn.example/a");
    EXPECT_EQ("https", schemeRelative.scheme);
    EXPECT_EQ("cdn.example", schemeRelative.host);
    EXPECT_EQ("443", schemeRelative.port);
}

} // namespace
} // namespace olv
