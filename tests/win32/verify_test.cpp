// One verification end to end under Wine: real WinINet through the local
// proxies, a real ICMP echo, the outcome written into an in-memory list.
#include "http/engine.h"
#include "support/memory_window.h"
#include "verify/icmp_echo.h"
#include "verify/own_ip.h"
#include "verify/verification.h"

#include <gtest/gtest.h>

namespace h = velmora::http;
namespace fakes = velmora::fakes;
namespace model = velmora::model;
namespace v = velmora::verify;

namespace {

const std::string kEcho = "http://127.0.0.1:18187/ic.asp";

TEST(WinVerify, EachProxyGetsItsOutcome) {
    v::OwnIpStore own;
    ASSERT_EQ(own.learn([] { return h::HttpEngine::request(kEcho); }), "127.0.0.1");

    fakes::MemoryWindow window;
    window.setRows({model::Row{"1", "127.0.0.1", "18190", "", "", "本地"},
                      model::Row{"2", "127.0.0.1", "18191", "", "", "本地"},
                      model::Row{"3", "127.0.0.1", "18199", "", "", "本地"},
                      // answers with its own "502" page: the echo page never came back
                      model::Row{"4", "127.0.0.1", "18192", "", "", "本地"}});
    v::VerifyCounters counters;
    const v::VerifyTools tools{
        .fetchThroughProxy = [](std::string_view proxy) { return h::HttpEngine::request(kEcho, {.proxy = proxy}); },
        .fetchDirect = [] { return h::HttpEngine::request(kEcho); },
        .echoRoundTrip = v::echoRoundTrip,
        .ownIp = own,
        .counters = counters};
    for (int row = 0; row < 4; ++row) {
        v::verifyAndRecord(window, window, v::proxyAt(window, row), tools);
    }

    const std::vector<model::Row> rows = window.rows();
    EXPECT_EQ(rows[0][3], "成功");
    EXPECT_EQ(rows[0][4], "极快");  // loopback answers the echo
    EXPECT_EQ(rows[1][3], "失败");
    EXPECT_EQ(rows[1][4], "无效");
    EXPECT_EQ(rows[2][3], "失败");
    EXPECT_EQ(rows[3][3], "失败");
    EXPECT_EQ(window.successCaption(), "1个IP");
    EXPECT_EQ(window.failureCaption(), "3个IP");
}

TEST(WinVerify, EchoAnswersOnLoopbackOnly) {
    EXPECT_GE(v::echoRoundTrip("127.0.0.1"), 0);
    EXPECT_EQ(v::echoRoundTrip(""), -1);
}

}  // namespace
