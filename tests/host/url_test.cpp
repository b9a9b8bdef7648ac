#include "http/url.h"

#include <gtest/gtest.h>

namespace h = velmora::http;

namespace {

struct BetweenCase {
    std::string_view text;
    std::string_view front;
    std::string_view back;
    std::string_view expected;
};

class TextBetweenTest : public ::testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenTest, CutsBetweenMarkers) {
    const BetweenCase& c = GetParam();
    EXPECT_EQ(h::textBetween(c.text, c.front, c.back), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    ::testing::Values(
        BetweenCase{"User-Agent: X\r\nAccept: text", "User-Agent:", "\r\n", " X"},
        BetweenCase{"set-cookie: sid=1; path=/", "Set-Cookie:", ";", " sid=1"},
        BetweenCase{"a[b]c", "[", "]", "b"}, BetweenCase{"a[]c", "[", "]", ""},
        BetweenCase{"abc", "[", "]", ""}, BetweenCase{"a[bc", "[", "]", ""},
        BetweenCase{"a]b[c", "[", "]", ""},  // a back marker before the front one does not count
        BetweenCase{"x=\"v\" y", "x=#引号", "#引号", "v"},
        BetweenCase{"您的IP是：[1.2.3.4]", "您的IP是：[", "]", "1.2.3.4"},
        BetweenCase{"HOST: A B", "host:", "b", " A "},
        // the front marker ends inside the trail of a two-byte character
        BetweenCase{"[\xB0]x]", "[", "]", "\xB0]x"},
        // markers that are trail bytes are never found there
        BetweenCase{"\x95\x5C" "a\\b\\", "\\", "\\", "b"},
        BetweenCase{"", "", "", ""}, BetweenCase{"abc", "", "", ""}, BetweenCase{"abc", "", "c", "ab"},
        BetweenCase{"abc", "c", "", ""}));

TEST(HeaderValue, ValueAfterTheFirstColonTrimmed) {
    EXPECT_EQ(h::headerValue("Location: /a"), "/a");
    EXPECT_EQ(h::headerValue("a: b: c"), "b: c");
    EXPECT_EQ(h::headerValue("no colon"), "");
    EXPECT_EQ(h::headerValue(""), "");
    EXPECT_EQ(h::headerValue("X:\xA1\xA1v \xA1\xA1"), "v");
    EXPECT_EQ(h::headerValue("X:\tv\r"), "\tv\r");
    EXPECT_EQ(h::headerValue("\xB0:x: y"), "y");  // the first colon is a trail byte
}

struct UrlCase {
    std::string_view address;
    std::string_view host;
    std::string_view hostWithPort;
    int port;
    std::string_view path;
};

class UrlSplitTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlSplitTest, SplitsHostPortAndPath) {
    const UrlCase& c = GetParam();
    EXPECT_EQ(h::urlHost(c.address), c.host);
    EXPECT_EQ(h::urlHost(c.address, true), c.hostWithPort);
    EXPECT_EQ(h::urlPort(c.address), c.port);
    EXPECT_EQ(h::urlPath(c.address), c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlSplitTest,
    ::testing::Values(
        UrlCase{"HTTP://MyHost:8080/a", "myhost", "myhost:8080", 8080, "/a"},
        UrlCase{"myhost/x?y=1", "myhost", "myhost", 80, "/x?y=1"},
        UrlCase{"https://myhost", "myhost", "myhost", 443, "/"},
        UrlCase{"HTTPS://MyHost/P/Q", "myhost", "myhost", 443, "/P/Q"},
        UrlCase{"https://myhost:8443/", "myhost", "myhost:8443", 8443, "/"},
        UrlCase{"http://myhost?q=1", "myhost?q=1", "myhost?q=1", 80, "/"},
        UrlCase{"http://user:pw@myhost/a", "user", "user:pw@myhost", 0, "/a"},
        UrlCase{"http://127.0.0.1:18187/ic.asp", "127.0.0.1", "127.0.0.1:18187", 18187, "/ic.asp"},
        UrlCase{"127.0.0.1:18186", "127.0.0.1", "127.0.0.1:18186", 18186, "/"},
        UrlCase{"http://h:/x", "h", "h:", 0, "/x"}, UrlCase{"http://h:abc/x", "h", "h:abc", 0, "/x"},
        UrlCase{"http://h:99999999999/", "h", "h:99999999999", 2147483647, "/"},
        UrlCase{"http://h:\xA3\xB8\xA3\xB0/", "h", "h:\xA3\xB8\xA3\xB0", 80, "/"},  // full-width digits
        // a host that also occurs inside the scheme is looked for after it
        UrlCase{"http://ht/x", "ht", "ht", 80, "/x"}, UrlCase{"https://s/x", "s", "s", 443, "/x"},
        UrlCase{"http://tp:81", "tp", "tp:81", 81, "/"},
        UrlCase{"", "", "", 80, "/"}, UrlCase{"/", "", "", 80, "/"},
        UrlCase{"ftp://h/x", "ftp", "ftp:", 0, "//h/x"}));

TEST(UrlPort, SchemeDecidesWithoutColon) {
    EXPECT_EQ(h::urlPort("httpsfoo/x"), 443);  // only the first five characters count
    EXPECT_EQ(h::urlPort("Https://h"), 443);
    EXPECT_EQ(h::urlPort("http://h"), 80);
}

}  // namespace
