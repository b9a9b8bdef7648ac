// One verification end to end under Wine: real WinINet through the local
// proxies, a real ICMP echo, the outcome written into an in-memory list.
#include "http/engine.h"
#include "ui/memory_controls.h"
#include "verify/icmp_echo.h"
#include "verify/own_ip.h"
#include "verify/verification.h"

#include <gtest/gtest.h>

namespace h = velmora::http;
namespace ui = velmora::ui;
namespace v = velmora::verify;

namespace {

const std::string kEcho = "http://127.0.0.1:18187/ic.asp";

TEST(WinVerify, EachProxyGetsItsOutcome) {
    v::OwnIpStore own;
    v::fetchOwnIp([] { return h::HttpEngine::request(kEcho); }, own);
    ASSERT_EQ(own.text(), "127.0.0.1");

    ui::MemoryControls controls;
    controls.setRows({ui::Row{"1", "127.0.0.1", "18190", "", "", "本地"},
                      ui::Row{"2", "127.0.0.1", "18191", "", "", "本地"},
                      ui::Row{"3", "127.0.0.1", "18199", "", "", "本地"}});
    v::VerifyCounters counters;
    const v::VerifyTools tools{
        .fetchThroughProxy = [](std::string_view proxy) { return h::HttpEngine::request(kEcho, {.proxy = proxy}); },
        .echoRoundTrip = v::echoRoundTrip,
        .ownIp = own,
        .counters = counters};
    for (int row = 0; row < 3; ++row) {
        v::verifyAndRecord(controls, v::proxyAt(controls, row), tools);
    }

    const std::vector<ui::Row> rows = controls.rows();
    EXPECT_EQ(rows[0][3], "成功");
    EXPECT_EQ(rows[0][4], "极快");  // loopback answers the echo
    EXPECT_EQ(rows[1][3], "失败");
    EXPECT_EQ(rows[1][4], "无效");
    EXPECT_EQ(rows[2][3], "失败");
    EXPECT_EQ(controls.text(ui::kSuccessTotalLabel), "1个IP");
    EXPECT_EQ(controls.text(ui::kFailureTotalLabel), "2个IP");
}

TEST(WinVerify, EchoAnswersOnLoopbackOnly) {
    EXPECT_GE(v::echoRoundTrip("127.0.0.1"), 0);
    EXPECT_EQ(v::echoRoundTrip(""), -1);
}

}  // namespace
