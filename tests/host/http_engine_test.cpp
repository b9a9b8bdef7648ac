#include "http/engine.h"
#include "http/engine_interpret.h"
#include "http/engine_plan.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <thread>
#include <vector>

namespace h = velmora::http;
namespace w = velmora::http::wininet;

namespace {

constexpr std::string_view kDefaultHeaders =
    "Referer: http://h/p\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
    "Content-Type: application/x-www-form-urlencoded";

// Plays back recorded answers and keeps every plan it was asked to send.
class RecordedTransport final : public h::Transport {
public:
    explicit RecordedTransport(std::deque<std::optional<h::Exchange>> answers, bool repeatLast = false)
        : answers_(std::move(answers)), repeatLast_(repeatLast) {}

    std::optional<h::Exchange> sendAndReceive(const h::RequestPlan& plan,
                                              const h::RequestLimits& limits) override {
        plans.push_back(plan);
        deadlines.push_back(limits.deadlineMs);
        std::this_thread::sleep_for(delay);
        std::optional<h::Exchange> answer = answers_.front();
        if (!repeatLast_ || answers_.size() > 1) answers_.pop_front();
        return answer;
    }

    std::vector<h::RequestPlan> plans;
    std::vector<unsigned> deadlines;
    std::chrono::milliseconds delay{0};

private:
    std::deque<std::optional<h::Exchange>> answers_;
    bool repeatLast_;
};

h::Exchange answer(std::string headers, std::string body = {}) {
    return {.body = std::move(body), .bodyEnd = h::BodyEnd::Whole, .rawHeaders = std::move(headers)};
}

h::Exchange failedSend() { return {.body = {}, .bodyEnd = h::BodyEnd::Whole, .rawHeaders = std::nullopt}; }

const std::string kOk = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n";

// ---- plan ------------------------------------------------------------------

TEST(RequestPlan, OnlyUrlGoesDirectWithTheFourDefaultLines) {
    const h::RequestPlan plan = h::planRequest({.url = "http://h/p"});
    EXPECT_EQ(plan.verb, "GET");
    EXPECT_EQ(plan.agent, h::kDefaultAgent);
    EXPECT_EQ(plan.accessType, w::kOpenTypeDirect);
    EXPECT_EQ(plan.host, "h");
    EXPECT_EQ(plan.port, 80);
    EXPECT_EQ(plan.path, "/p");
    EXPECT_EQ(plan.headers, kDefaultHeaders);
    EXPECT_EQ(plan.flags, w::kFlagReload | w::kFlagNeedFile | w::kFlagIgnoreRedirectToHttps);
    EXPECT_FALSE(plan.sendsBody);
}

TEST(RequestPlan, GivenProxyEvenEmptySelectsProxyMode) {
    const h::RequestPlan given = h::planRequest({.url = "http://h/", .proxy = "1.2.3.4:8080"});
    EXPECT_EQ(given.accessType, w::kOpenTypeProxy);
    EXPECT_EQ(given.proxyName, "http=1.2.3.4:8080");
    const h::RequestPlan empty = h::planRequest({.url = "http://h/", .proxy = ""});
    EXPECT_EQ(empty.accessType, w::kOpenTypeProxy);
    EXPECT_EQ(empty.proxyName, "http=");
}

struct BodyCase {
    int method;
    std::string_view postText;
    std::string_view postBytes;
    std::string_view verb;
    bool sendsBody;
    std::string_view sentBytes;
};

class RequestBody : public ::testing::TestWithParam<BodyCase> {};

TEST_P(RequestBody, ComesFromPostTextOrPostBytes) {
    const BodyCase& c = GetParam();
    const h::RequestPlan plan =
        h::planRequest({.url = "http://h/", .method = c.method, .postText = c.postText, .postBytes = c.postBytes});
    EXPECT_EQ(plan.verb, c.verb);
    EXPECT_EQ(plan.sendsBody, c.sendsBody);
    if (c.sendsBody) {
        EXPECT_EQ(plan.postBytes, c.sentBytes);
    }
    EXPECT_TRUE(plan.headers.ends_with("Content-Type: application/x-www-form-urlencoded"));
}

INSTANTIATE_TEST_SUITE_P(Cases, RequestBody,
                         ::testing::Values(BodyCase{1, "a=1&b=2", "", "POST", true, "a=1&b=2"},
                                           BodyCase{1, "a=1", "raw", "POST", true, "raw"},
                                           BodyCase{1, "", "", "POST", false, ""},
                                           BodyCase{0, "a=1", "", "GET", false, ""},
                                           // any other non-zero method: GET with a body
                                           BodyCase{2, "x", "", "GET", true, "x"}));

struct AgentCase {
    std::string_view extraHeaders;
    std::string_view agent;
};

class AgentText : public ::testing::TestWithParam<AgentCase> {};

TEST_P(AgentText, IsTheValueOfTheUserAgentLine) {
    EXPECT_EQ(h::agentText(GetParam().extraHeaders), GetParam().agent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AgentText,
    ::testing::Values(AgentCase{"User-Agent: X", "X"}, AgentCase{"User-Agent: X\r\nAccept: a", "X"},
                      // the last line: its own value, not the text after the block's first colon
                      AgentCase{"Referer: R\r\nUser-Agent: X", "X"},
                      AgentCase{"user-agent:   Y \xA1\xA1\r\n", "Y"},
                      AgentCase{"User-Agent:\r\nAccept: a", h::kDefaultAgent}, AgentCase{"", h::kDefaultAgent},
                      AgentCase{"Accept: a", h::kDefaultAgent}));

TEST(RequestPlan, DefaultLinesFillOnlyWhatIsMissingInOrder) {
    EXPECT_EQ(h::completeHeaders("Referer: R", "http://h/", ""),
              "Referer: R\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
              "Content-Type: application/x-www-form-urlencoded");
    // The tests are case-sensitive, so a lower-case line does not count.
    EXPECT_EQ(h::completeHeaders("accept: x\r\nAccept-Language: en\r\nContent-Type: t", "http://h/", "c=1"),
              "accept: x\r\nAccept-Language: en\r\nContent-Type: t\r\nReferer: http://h/\r\nAccept: */*"
              "\r\nCookie: c=1");
    // A Cookie line is appended even when the caller wrote one.
    EXPECT_TRUE(h::completeHeaders("Cookie: old", "http://h/", "new=1").ends_with("\r\nCookie: new=1"));
}

TEST(RequestPlan, FlagsFollowSchemeCookiesAndRedirectChoice) {
    const h::RequestPlan secure = h::planRequest({.url = "HTTPS://Host/x"});
    EXPECT_EQ(secure.flags, w::kFlagReload | w::kFlagNeedFile | w::kFlagSecure);
    EXPECT_EQ(secure.port, 443);
    EXPECT_EQ(secure.host, "host");
    const h::RequestPlan all = h::planRequest({.url = "http://h/", .cookiesGiven = true, .noRedirect = true});
    EXPECT_EQ(all.flags, w::kFlagReload | w::kFlagNeedFile | w::kFlagNoCookies | w::kFlagNoAutoRedirect |
                             w::kFlagIgnoreRedirectToHttps);
}

// ---- interpretation ----------------------------------------------------------

TEST(HeaderLines, CollectLocationAndCookies) {
    const h::HeaderFacts facts = h::readHeaderLines(
        "HTTP/1.1 302 Found\r\nSet-Cookie: a=1; path=/\r\nLocation: /one\r\nSet-Cookie: b=2; path=/\r\n"
        "Location: /two\r\nSet-Cookie: bare\r\n\r\n");
    EXPECT_EQ(facts.location, "/two");
    // A Set-Cookie line without ";" gives an empty item.
    EXPECT_EQ(facts.returnedCookies, "a=1; b=2; ");
    EXPECT_FALSE(h::readHeaderLines(kOk).location);
}

TEST(Utf8Detection, LooksAtTheBodysStartThenTheHeaders) {
    const std::string at10 = std::string(9, 'x') + "utf-8";
    const std::string at499 = std::string(498, 'x') + "utf-8";
    const std::string at500 = std::string(499, 'x') + "utf-8";
    const std::string at600 = std::string(599, 'x') + "utf-8";
    EXPECT_TRUE(h::isUtf8Body(at10, kOk));
    EXPECT_TRUE(h::isUtf8Body(at499, kOk));
    EXPECT_FALSE(h::isUtf8Body(at500, kOk));
    EXPECT_FALSE(h::isUtf8Body(at600, kOk));
    EXPECT_FALSE(h::isUtf8Body("charset=UTF-8", kOk));
    EXPECT_TRUE(h::isUtf8Body(at600, "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=UTF-8\r\n"));
    // Three-byte characters before the marker must not hide it.
    EXPECT_TRUE(h::isUtf8Body("\xE4\xB8\xAD" "utf-8", kOk));
}

TEST(BodyText, ConvertsUtf8AndCutsAtTheFirstZero) {
    EXPECT_EQ(h::bodyText("utf-8 \xE4\xB8\xAD", kOk), "utf-8 中");
    EXPECT_EQ(h::bodyText("gbk \xD6\xD0", kOk), "gbk \xD6\xD0");
    std::string zero(200, 'a');
    zero[99] = '\0';
    EXPECT_EQ(h::bodyText(zero, kOk), std::string(99, 'a'));
}

struct RedirectCase {
    std::string_view location;
    std::string_view current;
    std::string_view next;
};

class RedirectAddress : public ::testing::TestWithParam<RedirectCase> {};

TEST_P(RedirectAddress, KeepsThePathOnlyWhenTheTargetHasNone) {
    EXPECT_EQ(h::redirectAddress(GetParam().location, GetParam().current), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RedirectAddress,
    ::testing::Values(RedirectCase{"http://l", "http://h/a/b", "http://l/a/b"},
                      RedirectCase{"HTTP://L:81", "http://h/a/b?q=1", "HTTP://L:81/a/b?q=1"},
                      RedirectCase{"http://l/new", "http://h/a/b", "http://l/new"},
                      RedirectCase{"/x", "https://H:8443/a", "https://h:8443/x"},
                      RedirectCase{"other", "http://h/a", "other/a"}));

// ---- the whole call ----------------------------------------------------------

TEST(HttpEngine, NoHandleChangesNoParameter) {
    RecordedTransport transport({std::nullopt});
    std::string headers = "X: 1", location = "keep", bytes;
    const std::string body = h::HttpEngine(transport).fetch(
        "http://h/", {.method = 1, .postText = "a", .extraHeaders = &headers, .location = &location, .postBytes = &bytes});
    EXPECT_EQ(body, "");
    EXPECT_EQ(headers, "X: 1");
    EXPECT_EQ(location, "keep");
    EXPECT_EQ(bytes, "");
}

TEST(HttpEngine, FailedSendLeavesBlankHeadersAndCompletedInputs) {
    RecordedTransport transport({failedSend()});
    std::string cookies = "a=1", returned = "stale", headers, location, bytes, raw;
    const std::string body = h::HttpEngine(transport).fetch(
        "http://h/p", {.method = 1,
                       .postText = "a=1&b=2",
                       .cookies = &cookies,
                       .returnedCookies = &returned,
                       .extraHeaders = &headers,
                       .location = &location,
                       .postBytes = &bytes,
                       .rawHeaders = &raw});
    EXPECT_EQ(body, "");
    EXPECT_EQ(raw, std::string(5000, ' '));
    EXPECT_EQ(location, raw);
    EXPECT_EQ(returned, "");
    EXPECT_EQ(cookies, "a=1");
    EXPECT_EQ(bytes, "a=1&b=2");
    EXPECT_EQ(headers, std::string(kDefaultHeaders) + "\r\nCookie: a=1");
}

TEST(HttpEngine, SetCookieLinesAreJoinedAndMergedWhenCookiesAreGiven) {
    const std::string headers =
        "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2; path=/\r\n\r\n";
    {
        RecordedTransport transport({answer(headers, "ok")});
        std::string returned, location;
        EXPECT_EQ(h::HttpEngine(transport).fetch("http://h/", {.returnedCookies = &returned, .location = &location}),
                  "ok");
        EXPECT_EQ(returned, "a=1; b=2");
        EXPECT_EQ(location, headers);  // no Location line
        EXPECT_EQ(transport.plans[0].flags & w::kFlagNoCookies, 0u);
    }
    {
        RecordedTransport transport({answer(headers, "ok")});
        std::string cookies = "b=0; c=3", returned;
        h::HttpEngine(transport).fetch("http://h/", {.cookies = &cookies, .returnedCookies = &returned});
        EXPECT_EQ(returned, "a=1;b=2");
        EXPECT_EQ(cookies, "a=1; b=2; c=3");
        EXPECT_NE(transport.plans[0].flags & w::kFlagNoCookies, 0u);
    }
}

TEST(HttpEngine, Follows301AtTheTargetWithTheOldPath) {
    RecordedTransport transport({answer("HTTP/1.1 301 Moved Permanently\r\nLocation: http://l:81\r\n"
                                        "Set-Cookie: s=1; path=/\r\n\r\n",
                                        "dropped"),
                                 answer(kOk, "there")});
    std::string location, headers;
    const std::string body = h::HttpEngine(transport).fetch(
        "http://h/a/b", {.extraHeaders = &headers, .location = &location, .proxy = "1.2.3.4:8080"});
    EXPECT_EQ(body, "there");
    ASSERT_EQ(transport.plans.size(), 2u);
    const h::RequestPlan& next = transport.plans[1];
    EXPECT_EQ(next.host, "l");
    EXPECT_EQ(next.port, 81);
    EXPECT_EQ(next.path, "/a/b");
    EXPECT_EQ(next.proxyName, "http=1.2.3.4:8080");
    // Cookies are kept by hand from the first follow-up on; the default lines
    // are not added twice.
    EXPECT_NE(next.flags & w::kFlagNoCookies, 0u);
    EXPECT_EQ(next.headers, transport.plans[0].headers);
    EXPECT_EQ(location, kOk);
}

TEST(HttpEngine, FollowUpOfADirectCallStaysDirect) {
    RecordedTransport transport({answer("HTTP/1.1 301 Moved Permanently\r\nLocation: http://l\r\n\r\n"),
                                 answer(kOk, "x")});
    h::HttpEngine(transport).fetch("http://h/a");
    ASSERT_EQ(transport.plans.size(), 2u);
    EXPECT_EQ(transport.plans[1].accessType, w::kOpenTypeDirect);
}

TEST(HttpEngine, CookiesGivenTravelInEachFollowUp) {
    RecordedTransport transport({answer("HTTP/1.1 301 Moved Permanently\r\nLocation: http://l\r\n"
                                        "Set-Cookie: s=1; path=/\r\n\r\n"),
                                 answer(kOk, "x")});
    std::string cookies = "a=1";
    h::HttpEngine(transport).fetch("http://h/a", {.cookies = &cookies});
    ASSERT_EQ(transport.plans.size(), 2u);
    EXPECT_TRUE(transport.plans[1].headers.ends_with("\r\nCookie: a=1\r\nCookie: s=1; a=1"));
    EXPECT_EQ(cookies, "s=1; a=1");
}

TEST(HttpEngine, A301ChainEndsEmptyAtTheBound) {
    RecordedTransport transport({answer("HTTP/1.1 301 Moved Permanently\r\nLocation: http://h/loop\r\n\r\n", "b")},
                                true);
    std::string location;
    const std::string body =
        h::HttpEngine(transport, {.maxRedirects = 3}).fetch("http://h/loop", {.location = &location});
    EXPECT_EQ(body, "");
    EXPECT_EQ(transport.plans.size(), 4u);  // the call and three follow-ups
    EXPECT_EQ(location, "http://h/loop");
    EXPECT_EQ(h::RequestLimits{}.maxRedirects, 20);
}

TEST(HttpEngine, OneDeadlineCoversTheWholeChain) {
    RecordedTransport transport({answer("HTTP/1.1 301 Moved Permanently\r\nLocation: http://h/loop\r\n\r\n")},
                                true);
    transport.delay = std::chrono::milliseconds(40);
    EXPECT_EQ(h::HttpEngine(transport, {.deadlineMs = 100}).fetch("http://h/loop"), "");
    ASSERT_LE(transport.plans.size(), 3u);
    // Each exchange is handed what is left of the call's time.
    EXPECT_LE(transport.deadlines.back(), 100u - 40u);
}

TEST(HttpEngine, A301WithoutTargetIsNotFollowed) {
    RecordedTransport transport({answer("HTTP/1.1 301 Moved Permanently\r\n\r\n", "moved")});
    EXPECT_EQ(h::HttpEngine(transport).fetch("http://h/a"), "moved");
    EXPECT_EQ(transport.plans.size(), 1u);
}

TEST(HttpEngine, HeadersTooLongStillGiveTheBody) {
    // The transport's header query failed for a 6000-byte header block.
    RecordedTransport transport({h::Exchange{.body = "utf-8 \xE4\xB8\xAD", .bodyEnd = h::BodyEnd::Whole,
                                             .rawHeaders = std::nullopt}});
    std::string raw, location, returned;
    EXPECT_EQ(h::HttpEngine(transport).fetch("http://h/",
                                             {.returnedCookies = &returned, .location = &location, .rawHeaders = &raw}),
              "utf-8 中");
    EXPECT_EQ(raw, std::string(5000, ' '));
    EXPECT_EQ(location, raw);
    EXPECT_EQ(returned, "");
}

TEST(HttpEngine, BodyOverTheBoundsFails) {
    for (h::BodyEnd end : {h::BodyEnd::TooLarge, h::BodyEnd::TooSlow}) {
        RecordedTransport transport(
            {h::Exchange{.body = "partial", .bodyEnd = end, .rawHeaders = "HTTP/1.1 200 OK\r\nLocation: /l\r\n"}});
        std::string location;
        EXPECT_EQ(h::HttpEngine(transport).fetch("http://h/", {.location = &location}), "");
        EXPECT_EQ(location, "/l");
    }
}

}  // namespace
