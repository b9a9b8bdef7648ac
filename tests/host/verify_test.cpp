#include "verify/own_ip.h"
#include "verify/verification.h"
#include "verify/verify_all.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/memory_window.h"

namespace v = velmora::verify;
namespace model = velmora::model;
namespace fakes = velmora::fakes;

namespace {

struct DecisionCase {
    std::string_view page;
    std::string_view ownIp;
    bool passes;
};

class ProxyDecision : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(ProxyDecision, NeedsAPageWithoutOurAddress) {
    EXPECT_EQ(v::proxyPasses(GetParam().page, GetParam().ownIp), GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyDecision,
    ::testing::Values(DecisionCase{"您的IP是：[127.0.0.2]", "127.0.0.1", true},
                      // a transparent proxy shows the caller on
                      DecisionCase{"您的IP是：[127.0.0.3] X-Forwarded-For: 127.0.0.1", "127.0.0.1", false},
                      DecisionCase{"any error page of the proxy", "10.0.0.1", true},
                      DecisionCase{"", "10.0.0.1", false}, DecisionCase{"  \xA1\xA1 ", "10.0.0.1", false},
                      // no own address known: nothing proves the caller hidden
                      DecisionCase{"page", "", false},
                      // ASCII letters fold, and a match never starts at a trail byte
                      DecisionCase{"host ABC.example", "abc.EXAMPLE", false},
                      DecisionCase{"\xB0\x41\x42", "AB", true}));

TEST(OwnIp, IsTheTextBetweenTheMarkersUnchanged) {
    EXPECT_EQ(v::ownIpFromPage("<p>您的IP是：[203.0.113.7]来自</p>"), "203.0.113.7");
    EXPECT_EQ(v::ownIpFromPage("您的IP是：[ 1.2.3.4 ]"), " 1.2.3.4 ");
    EXPECT_EQ(v::ownIpFromPage("您的IP：[203.0.113.7]"), "");
    EXPECT_EQ(v::ownIpFromPage("您的IP是：[203.0.113.7"), "");
}

TEST(OwnIp, CheckStoresWholeAndReleaseEmpties) {
    v::OwnIpStore store;
    EXPECT_EQ(store.text(), "");
    v::fetchOwnIp([] { return std::string("您的IP是：[203.0.113.7]"); }, store);
    EXPECT_EQ(store.text(), "203.0.113.7");
    v::fetchOwnIp([] { return std::string(); }, store);
    EXPECT_EQ(store.text(), "");
    store.store("x");
    store.release();
    EXPECT_EQ(store.text(), "");
}

class VerifyRow : public ::testing::Test {
protected:
    void SetUp() override {
        window.setRows({model::Row{"1", "127.0.0.2", "18190", "old", "old", "全国"}});
        ownIp.store("127.0.0.1");
    }

    v::VerifyTools tools(std::string page, long roundTrip) {
        return {.fetchThroughProxy =
                    [this, page](std::string_view proxy) {
                        proxies.emplace_back(proxy);
                        return page;
                    },
                .echoRoundTrip =
                    [this, roundTrip](std::string_view address) {
                        pinged.emplace_back(address);
                        return roundTrip;
                    },
                .ownIp = ownIp,
                .counters = counters};
    }

    fakes::MemoryWindow window;
    v::OwnIpStore ownIp;
    v::VerifyCounters counters;
    std::vector<std::string> proxies;
    std::vector<std::string> pinged;
};

TEST_F(VerifyRow, SuccessWritesOutcomeCountAndSpeed) {
    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("您的IP是：[127.0.0.2]", 3));
    EXPECT_EQ(window.rows()[0], (model::Row{"1", "127.0.0.2", "18190", "成功", "极快", "全国"}));
    EXPECT_EQ(proxies, std::vector<std::string>{"127.0.0.2:18190"});
    EXPECT_EQ(pinged, std::vector<std::string>{"127.0.0.2"});
    EXPECT_EQ(window.successCaption(), "1个IP");
    EXPECT_EQ(window.failureCaption(), "0个IP");

    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("page", -1));
    EXPECT_EQ(window.rows()[0][4], "普通");
    EXPECT_EQ(window.successCaption(), "2个IP");
}

TEST_F(VerifyRow, FailureWritesInvalidAndCountsWithoutPinging) {
    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("您的IP是：[127.0.0.1]", 3));
    EXPECT_EQ(window.rows()[0], (model::Row{"1", "127.0.0.2", "18190", "失败", "无效", "全国"}));
    EXPECT_TRUE(pinged.empty());
    EXPECT_EQ(window.failureCaption(), "1个IP");
    EXPECT_EQ(counters.successes(), 0);
}

TEST_F(VerifyRow, WithoutOwnAddressEveryProxyFails) {
    ownIp.release();
    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("您的IP是：[127.0.0.2]", 3));
    EXPECT_EQ(window.rows()[0][3], "失败");
}

TEST_F(VerifyRow, AVanishedRowStillCounts) {
    window.withRows([](model::ProxyRows& rows) { rows.clear(); });
    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("", -1));
    EXPECT_EQ(proxies, std::vector<std::string>{":"});
    EXPECT_EQ(window.failureCaption(), "1个IP");
}

// Rows move while a verification waits for its page: the outcome goes to
// the row verified, wherever it stands, and to no other row.
TEST_F(VerifyRow, TheOutcomeFollowsItsRowOrGoesNowhere) {
    window.setRows({model::Row{"1", "127.0.0.9", "1", "失败", "无效", ""},
                      model::Row{"2", "127.0.0.2", "18190", "", "", ""},
                      model::Row{"3", "127.0.0.3", "3", "", "", ""}});
    auto verifyWhile = [&](int row, std::function<void()> meanwhile) {
        v::VerifyTools t = tools("您的IP是：[127.0.0.2]", 3);
        auto fetch = t.fetchThroughProxy;
        t.fetchThroughProxy = [fetch, meanwhile](std::string_view proxy) {
            meanwhile();
            return fetch(proxy);
        };
        v::verifyAndRecord(window, window, v::proxyAt(window, row), t);
    };
    // Another row deleted: row 2 is now at index 0 and gets its outcome.
    verifyWhile(1, [&] { window.withRows([](model::ProxyRows& rows) { rows.erase(0); }); });
    EXPECT_EQ(window.rows()[0], (model::Row{"2", "127.0.0.2", "18190", "成功", "极快", ""}));
    EXPECT_EQ(window.rows()[1], (model::Row{"3", "127.0.0.3", "3", "", "", ""}));
    EXPECT_EQ(pinged, std::vector<std::string>{"127.0.0.2"});

    // The row itself deleted: the row now at its index keeps its own cells,
    // and the verification still counts.
    verifyWhile(0, [&] { window.withRows([](model::ProxyRows& rows) { rows.erase(0); }); });
    EXPECT_EQ(window.rows(), (std::vector<model::Row>{model::Row{"3", "127.0.0.3", "3", "", "", ""}}));
    EXPECT_EQ(window.successCaption(), "2个IP");

    // The list refilled with the same proxies: the new rows are other rows.
    verifyWhile(0, [&] {
        window.withRows([](model::ProxyRows& rows) { rows.clear(); });
        window.setRows({model::Row{"1", "127.0.0.3", "3", "", "", ""}});
    });
    EXPECT_EQ(window.rows(), (std::vector<model::Row>{model::Row{"1", "127.0.0.3", "3", "", "", ""}}));
    EXPECT_EQ(window.successCaption(), "3个IP");
}

TEST(VerifyCounters, ConcurrentWorkersLoseNoCountAndTheLabelEndsTrue) {
    fakes::MemoryWindow window;
    std::vector<model::Row> rows(8, model::Row{"", "127.0.0.2", "1", "", "", ""});
    window.setRows(rows);
    v::OwnIpStore ownIp;
    ownIp.store("127.0.0.1");
    v::VerifyCounters counters;
    const v::VerifyTools good{.fetchThroughProxy = [](std::string_view) { return std::string("ok"); },
                              .echoRoundTrip = [](std::string_view) { return -1L; },
                              .ownIp = ownIp,
                              .counters = counters};
    const v::VerifyTools bad{.fetchThroughProxy = [](std::string_view) { return std::string(); },
                             .echoRoundTrip = [](std::string_view) { return -1L; },
                             .ownIp = ownIp,
                             .counters = counters};
    std::vector<std::thread> workers;
    for (int t = 0; t < 8; ++t) {
        workers.emplace_back([&, t] {
            const v::ProxyUnderTest proxy = v::proxyAt(window, t);
            for (int i = 0; i < 200; ++i) {
                v::verifyAndRecord(window, window, proxy, (t % 2 == 0) ? good : bad);
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    EXPECT_EQ(counters.successes(), 800);
    EXPECT_EQ(counters.failures(), 800);
    EXPECT_EQ(window.successCaption(), "800个IP");
    EXPECT_EQ(window.failureCaption(), "800个IP");
}

TEST(VerifySelected, AsksForASelectionOrStartsOneWorker) {
    fakes::MemoryWindow window;
    window.setRows({model::Row{}, model::Row{}});
    std::vector<int> started;
    const auto start = [&](int row) { started.push_back(row); };
    v::verifySelectedRow(window, window, start);
    ASSERT_EQ(window.messages().size(), 1u);
    EXPECT_EQ(window.messages()[0].text, "请选择需要校验的IP地址");
    EXPECT_TRUE(started.empty());
    window.setCurrentRow(1);
    v::verifySelectedRow(window, window, start);
    EXPECT_EQ(started, std::vector<int>{1});
}

// Records the pass's steps so that order, stop and nesting can be checked.
class VerifyAllPass : public ::testing::Test {
protected:
    void withRows(int n) { window.setRows(std::vector<model::Row>(static_cast<std::size_t>(n))); }

    v::PassHooks hooks() {
        return {.startWorker =
                    [this](int row) {
                        log.push_back("start " + std::to_string(row));
                        started.push_back(row);
                    },
                .processPending =
                    [this] {
                        log.emplace_back("events");
                        if (onEvents) onEvents(static_cast<int>(started.size()));
                    },
                .sleep = [this](unsigned ms) { log.push_back("sleep " + std::to_string(ms)); },
                .windowOpen = [this] { return windowOpen; }};
    }

    fakes::MemoryWindow window;
    bool running = false;
    std::vector<std::string> log;
    std::vector<int> started;
    std::function<void(int startedSoFar)> onEvents;
    bool windowOpen = true;
};

TEST_F(VerifyAllPass, EmptyListStartsNothing) {
    v::runVerifyAll(window, running, hooks());
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(running);
}

TEST_F(VerifyAllPass, VisitsEveryRowInOrderThenEnds) {
    withRows(3);
    v::runVerifyAll(window, running, hooks());
    EXPECT_EQ(started, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(log, (std::vector<std::string>{"start 0", "events", "sleep 500", "start 1", "events", "sleep 500",
                                             "start 2", "events", "sleep 500"}));
    EXPECT_EQ(window.focusCount(), 3);
    EXPECT_EQ(window.ensureVisibleCalls(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(window.currentRow(), 2);
    EXPECT_FALSE(running);
}

TEST_F(VerifyAllPass, StopEndsAfterTheCurrentStep) {
    withRows(5);
    onEvents = [this](int startedSoFar) {
        if (startedSoFar == 2) v::endVerifyAll(running);
    };
    v::runVerifyAll(window, running, hooks());
    EXPECT_EQ(started, (std::vector<int>{0, 1}));
    EXPECT_EQ(log.back(), "sleep 500");
    EXPECT_EQ(window.currentRow(), 1);
}

TEST_F(VerifyAllPass, AWindowClosedDuringThePassEndsItWithoutAnotherWorkerOrSleep) {
    withRows(40);
    onEvents = [this](int startedSoFar) {
        if (startedSoFar == 2) windowOpen = false;
    };
    v::runVerifyAll(window, running, hooks());
    EXPECT_EQ(started, (std::vector<int>{0, 1}));
    EXPECT_EQ(log.back(), "events");
    EXPECT_FALSE(running);
}

TEST_F(VerifyAllPass, ANestedPassRestartsAndItsEndEndsTheOuterOne) {
    withRows(3);
    bool nested = false;
    onEvents = [&](int startedSoFar) {
        if (startedSoFar == 2 && !nested) {
            nested = true;
            v::runVerifyAll(window, running, hooks());
        }
    };
    v::runVerifyAll(window, running, hooks());
    EXPECT_EQ(started, (std::vector<int>{0, 1, 0, 1, 2}));
    EXPECT_FALSE(running);
}

TEST_F(VerifyAllPass, RowsDeletedMeanwhileVerifyWhatIsSelected) {
    withRows(3);
    onEvents = [this](int startedSoFar) {
        if (startedSoFar == 1) window.withRows([](model::ProxyRows& rows) { rows.erase(2); });
    };
    v::runVerifyAll(window, running, hooks());
    // Row 2 is gone: the selection stays on row 1, which is verified again.
    EXPECT_EQ(started, (std::vector<int>{0, 1, 1}));
}

}  // namespace
