// The request engine over real WinINet, against the local scripted server,
// the echo page and two real proxies (tests/servers).
#include "http/engine.h"
#include "http/wininet_transport.h"
#include "verify/own_ip.h"
#include "verify/verification.h"

#include <gtest/gtest.h>

#include <chrono>

namespace h = velmora::http;
namespace v = velmora::verify;

namespace {

const std::string kScripted = "http://127.0.0.1:18188";
const std::string kEcho = "http://127.0.0.1:18187/ic.asp";
constexpr std::string_view kHidingProxy = "127.0.0.1:18190";
constexpr std::string_view kPassingProxy = "127.0.0.1:18191";
constexpr std::string_view kDeadProxy = "127.0.0.1:18199";
// Forwards to an upstream proxy that is down: answers with its own 502 page.
constexpr std::string_view kFailingProxy = "127.0.0.1:18192";

std::string lastRequest() { return h::HttpEngine::request(kScripted + "/_last"); }

TEST(WinInetEngine, DirectGetSendsTheDefaultLines) {
    std::string raw, location;
    const std::string body =
        h::HttpEngine::request(kScripted + "/echo", {.location = &location, .rawHeaders = &raw});
    EXPECT_TRUE(body.starts_with("GET /echo HTTP/1.1\r\n")) << body;
    for (std::string_view line : {"Referer: http://127.0.0.1:18188/echo\r\n", "Accept: */*\r\n",
                                  "Accept-Language: zh-cn\r\n",
                                  "Content-Type: application/x-www-form-urlencoded\r\n",
                                  "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; T7WKX;"}) {
        EXPECT_NE(body.find(line), std::string::npos) << line;
    }
    EXPECT_TRUE(raw.starts_with("HTTP/1.1 200")) << raw;
    EXPECT_EQ(location, raw);
}

TEST(WinInetEngine, PostSendsPostTextAndHandsBackItsBytes) {
    std::string bytes;
    const std::string body =
        h::HttpEngine::request(kScripted + "/echo", {.method = 1, .postText = "a=1&b=2", .postBytes = &bytes});
    EXPECT_TRUE(body.starts_with("POST /echo HTTP/1.1\r\n")) << body;
    EXPECT_TRUE(body.ends_with("\r\n\r\na=1&b=2")) << body;
    EXPECT_EQ(bytes, "a=1&b=2");
}

TEST(WinInetEngine, GoesThroughAGivenProxy) {
    EXPECT_EQ(h::HttpEngine::request(kScripted + "/ok", {.proxy = kHidingProxy}), "ok");
    EXPECT_EQ(h::HttpEngine::request(kScripted + "/ok", {.proxy = kDeadProxy}), "");
}

TEST(WinInetEngine, Follows301ItselfWhenWinInetMayNot) {
    // No path in the target: the old one is appended.
    EXPECT_EQ(h::HttpEngine::request(kScripted + "/hostonly", {.noRedirect = true}), "arrived");
    EXPECT_EQ(h::HttpEngine::request(kScripted + "/chain/3", {.noRedirect = true}), "chain end");
    std::string location;
    EXPECT_EQ(h::HttpEngine::request(kScripted + "/loop", {.location = &location, .noRedirect = true}), "");
    EXPECT_EQ(location, kScripted + "/loop");
}

TEST(WinInetEngine, CookiesKeptByHandAreMergedAndSent) {
    std::string cookies = "x=9", returned;
    EXPECT_EQ(h::HttpEngine::request(kScripted + "/cookies", {.cookies = &cookies, .returnedCookies = &returned}),
              "cookies");
    EXPECT_EQ(returned, "a=1;b=2");
    EXPECT_EQ(cookies, "a=1; b=2; x=9");
    h::HttpEngine::request(kScripted + "/ok", {.cookies = &cookies});
    EXPECT_NE(lastRequest().find("\r\nCookie: a=1; b=2; x=9\r\n"), std::string::npos);

    returned.clear();
    h::HttpEngine::request(kScripted + "/cookies", {.returnedCookies = &returned});
    EXPECT_EQ(returned, "a=1; b=2");
}

TEST(WinInetEngine, Utf8PagesAreConvertedWhenDeclaredEarlyOrInTheHeaders) {
    EXPECT_NE(h::HttpEngine::request(kScripted + "/utf8").find("中文"), std::string::npos);
    EXPECT_NE(h::HttpEngine::request(kScripted + "/utf8late").find("\xE4\xB8\xAD\xE6\x96\x87"), std::string::npos);
    EXPECT_NE(h::HttpEngine::request(kScripted + "/utf8late?header=1").find("中文"), std::string::npos);
}

TEST(WinInetEngine, BodyIsCutAtItsFirstZero) { EXPECT_EQ(h::HttpEngine::request(kScripted + "/zero"), "abc"); }

TEST(WinInetEngine, HeadersTooLongForTheBufferReadAsBlanks) {
    std::string raw;
    EXPECT_EQ(h::HttpEngine::request(kScripted + "/bigheaders", {.rawHeaders = &raw}), "big");
    EXPECT_EQ(raw, std::string(5000, ' '));
}

TEST(WinInetEngine, EndlessAndHugeBodiesAreBounded) {
    const h::HttpEngine quick(h::sharedWinInetTransport(),
                              {.sendTimeoutMs = 3000, .receiveTimeoutMs = 3000, .deadlineMs = 2000});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(quick.fetch(kScripted + "/endless"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(h::HttpEngine::request(kScripted + "/huge?mib=8"), "");
}

TEST(WinInetVerification, OnlyTheHidingProxyPasses) {
    v::OwnIpStore own;
    ASSERT_EQ(own.learn([] { return h::HttpEngine::request(kEcho); }), "127.0.0.1");
    const auto through = [](std::string_view proxy) { return h::HttpEngine::request(kEcho, {.proxy = proxy}); };
    EXPECT_TRUE(v::proxyPasses(through(kHidingProxy), own.text()));
    EXPECT_FALSE(v::proxyPasses(through(kPassingProxy), own.text()));
    EXPECT_FALSE(v::proxyPasses(through(kDeadProxy), own.text()));
    EXPECT_FALSE(v::proxyPasses(through(kFailingProxy), own.text())) << through(kFailingProxy);
    EXPECT_NE(through(kHidingProxy).find("您的IP是：[127.0.0.2]"), std::string::npos);
    EXPECT_NE(h::HttpEngine::request("http://127.0.0.1:18187/ic_utf8.asp").find("您的IP是：[127.0.0.1]"),
              std::string::npos);
}

}  // namespace
