#include "verify/own_ip.h"
#include "verify/verification.h"
#include "verify/verify_all.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
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
                      // the proxy's own pages never came from the echo page
                      DecisionCase{"<h1>502 Bad Gateway</h1>", "10.0.0.1", false},
                      DecisionCase{"502 Unable to connect to upstream proxy", "10.0.0.1", false},
                      DecisionCase{"<form>登录</form>", "10.0.0.1", false},
                      DecisionCase{"", "10.0.0.1", false}, DecisionCase{"  \xA1\xA1 ", "10.0.0.1", false},
                      // no own address known: nothing proves the caller hidden
                      DecisionCase{"您的IP是：[127.0.0.2]", "", false},
                      // ASCII letters fold, and a match never starts at a trail byte
                      DecisionCase{"您的IP是：[host ABC.example]", "abc.EXAMPLE", false},
                      DecisionCase{"您的IP是：[\xB0\x41\x42]", "AB", true}));

TEST(OwnIp, IsTheTextBetweenTheMarkersUnchanged) {
    EXPECT_EQ(v::ownIpFromPage("<p>您的IP是：[203.0.113.7]来自</p>"), "203.0.113.7");
    EXPECT_EQ(v::ownIpFromPage("您的IP是：[ 1.2.3.4 ]"), " 1.2.3.4 ");
    EXPECT_EQ(v::ownIpFromPage("您的IP：[203.0.113.7]"), "");
    EXPECT_EQ(v::ownIpFromPage("您的IP是：[203.0.113.7"), "");
}

TEST(OwnIp, LearntOnceKnownAndAgainWhileMissing) {
    v::OwnIpStore store;
    int fetches = 0;
    std::string page;
    const auto fetch = [&] {
        ++fetches;
        return page;
    };
    EXPECT_EQ(store.learn(fetch), "") << "the echo page was not reachable";
    page = "您的IP是：[203.0.113.7]";
    EXPECT_EQ(store.learn(fetch), "203.0.113.7");
    EXPECT_EQ(store.learn(fetch), "203.0.113.7");
    EXPECT_EQ(fetches, 2);
    store.release();
    EXPECT_EQ(store.text(), "");
}

// Workers that find the address missing at the same time share one request.
TEST(OwnIp, ConcurrentLearnersShareOneFetch) {
    for (const std::string page : {"您的IP是：[203.0.113.7]", "no echo page"}) {
        v::OwnIpStore store;
        std::atomic<int> fetches{0};
        std::atomic<int> waiting{0};
        const auto fetch = [&] {
            ++fetches;
            // Let the other learners arrive while this fetch is on its way.
            while (waiting.load() < 7) std::this_thread::yield();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return page;
        };
        std::vector<std::string> learnt(8);
        std::vector<std::thread> workers;
        for (int t = 0; t < 8; ++t) {
            workers.emplace_back([&, t] {
                if (t > 0) {
                    while (fetches.load() == 0) std::this_thread::yield();
                    ++waiting;
                }
                learnt[static_cast<std::size_t>(t)] = store.learn(fetch);
            });
        }
        for (std::thread& worker : workers) worker.join();
        EXPECT_EQ(fetches.load(), 1) << page;
        for (const std::string& address : learnt) EXPECT_EQ(address, v::ownIpFromPage(page));
    }
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
                .fetchDirect =
                    [this] {
                        ++directFetches;
                        return directPage;
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
    std::string directPage = "您的IP是：[127.0.0.1]";
    int directFetches = 0;
};

TEST_F(VerifyRow, SuccessWritesOutcomeCountAndSpeed) {
    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("您的IP是：[127.0.0.2]", 3));
    EXPECT_EQ(window.rows()[0], (model::Row{"1", "127.0.0.2", "18190", "成功", "极快", "全国"}));
    EXPECT_EQ(proxies, std::vector<std::string>{"127.0.0.2:18190"});
    EXPECT_EQ(pinged, std::vector<std::string>{"127.0.0.2"});
    EXPECT_EQ(window.successCaption(), "1个IP");
    EXPECT_EQ(window.failureCaption(), "0个IP");

    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("您的IP是：[127.0.0.2]", -1));
    EXPECT_EQ(window.rows()[0][4], "普通");
    EXPECT_EQ(directFetches, 0) << "the own address was known";
    EXPECT_EQ(window.successCaption(), "2个IP");
}

TEST_F(VerifyRow, FailureWritesInvalidAndCountsWithoutPinging) {
    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("您的IP是：[127.0.0.1]", 3));
    EXPECT_EQ(window.rows()[0], (model::Row{"1", "127.0.0.2", "18190", "失败", "无效", "全国"}));
    EXPECT_TRUE(pinged.empty());
    EXPECT_EQ(window.failureCaption(), "1个IP");
    EXPECT_EQ(counters.successes(), 0);
}

// An echo page unreachable at start: the own address is fetched again before
// the proxy is judged, and only when that fails too does the proxy fail.
TEST_F(VerifyRow, AMissingOwnAddressIsLearntBeforeJudging) {
    ownIp.release();
    directPage.clear();
    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("您的IP是：[127.0.0.2]", 3));
    EXPECT_EQ(window.rows()[0][3], "失败");
    EXPECT_EQ(directFetches, 1);

    directPage = "您的IP是：[127.0.0.1]";
    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("您的IP是：[127.0.0.2]", 3));
    EXPECT_EQ(window.rows()[0][3], "成功");
    EXPECT_EQ(ownIp.text(), "127.0.0.1");
    EXPECT_EQ(directFetches, 2);
}

TEST_F(VerifyRow, ARowGoneBeforeItsStartIsNotTriedNorCounted) {
    window.withRows([](model::ProxyRows& rows) { rows.clear(); });
    v::verifyAndRecord(window, window, v::proxyAt(window, 0), tools("", -1));
    EXPECT_TRUE(proxies.empty());
    EXPECT_EQ(window.failureCaption(), "0个IP");
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
    const v::VerifyTools good{.fetchThroughProxy =
                                  [](std::string_view) { return std::string("您的IP是：[127.0.0.2]"); },
                              .fetchDirect = [] { return std::string(); },
                              .echoRoundTrip = [](std::string_view) { return -1L; },
                              .ownIp = ownIp,
                              .counters = counters};
    const v::VerifyTools bad{.fetchThroughProxy = [](std::string_view) { return std::string(); },
                             .fetchDirect = [] { return std::string(); },
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

// The pass against a fake clock: each wait moves the clock on, and what is
// scheduled for a moment inside a wait runs there, as the window's events
// (nested menu commands, the close) run inside the real wait.
class VerifyAllPass : public ::testing::Test {
protected:
    struct Start {
        long at;
        int row;
        bool operator==(const Start&) const = default;
    };

    void withRows(int n) {
        std::vector<model::Row> rows;
        for (int i = 0; i < n; ++i) rows.push_back(model::Row{std::to_string(i + 1), "127.0.0." + std::to_string(i + 1)});
        window.setRows(rows);
    }
    void at(long when, std::function<void()> what) { scheduled.emplace_back(when, std::move(what)); }

    v::PassHooks hooks() {
        return {.startWorker = [this](int row) { starts.push_back({now, row}); },
                .wait =
                    [this](unsigned ms) {
                        const long end = now + static_cast<long>(ms);
                        while (!scheduled.empty() && scheduled.front().first < end) {
                            auto [when, what] = std::move(scheduled.front());
                            scheduled.pop_front();
                            now = std::max(now, when);
                            what();
                            if (!windowOpen) return false;
                        }
                        now = std::max(now, end);
                        return true;
                    }};
    }
    void pass() { v::runVerifyAll(window, running, hooks()); }
    std::string addressAt(int row) { return window.rows().at(static_cast<std::size_t>(row))[1]; }

    fakes::MemoryWindow window;
    bool running = false;
    bool windowOpen = true;
    long now = 0;
    std::deque<std::pair<long, std::function<void()>>> scheduled;
    std::vector<Start> starts;
};

TEST_F(VerifyAllPass, EmptyListStartsNothing) {
    pass();
    EXPECT_TRUE(starts.empty());
    EXPECT_EQ(now, 0);
    EXPECT_FALSE(running);
}

TEST_F(VerifyAllPass, StartsEveryRowHalfASecondApartAndEndsAfterTheLastSpacing) {
    withRows(3);
    pass();
    EXPECT_EQ(starts, (std::vector<Start>{{0, 0}, {500, 1}, {1000, 2}}));
    EXPECT_EQ(now, 1500);
    EXPECT_EQ(window.focusCount(), 3);
    EXPECT_EQ(window.ensureVisibleCalls(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(window.currentRow(), 2);
    EXPECT_FALSE(running);
}

TEST_F(VerifyAllPass, StopTakesEffectBeforeTheNextStart) {
    withRows(5);
    at(700, [this] { v::endVerifyAll(running); });
    pass();
    EXPECT_EQ(starts, (std::vector<Start>{{0, 0}, {500, 1}}));
    EXPECT_EQ(window.currentRow(), 1);
}

TEST_F(VerifyAllPass, AClosedWindowEndsThePassAtOnce) {
    withRows(40);
    at(1200, [this] { windowOpen = false; });
    pass();
    EXPECT_EQ(starts, (std::vector<Start>{{0, 0}, {500, 1}, {1000, 2}}));
    EXPECT_EQ(now, 1200);
    EXPECT_FALSE(running);
}

TEST_F(VerifyAllPass, ANestedPassRestartsFromTheTopAndItsEndEndsTheOuterOne) {
    withRows(3);
    at(700, [this] { pass(); });
    pass();
    EXPECT_EQ(starts, (std::vector<Start>{{0, 0}, {500, 1}, {700, 0}, {1200, 1}, {1700, 2}}));
    EXPECT_EQ(now, 2200);
    EXPECT_FALSE(running);
}

// "清除无效" during the pass: the rows that remain are walked on, the removed
// ones skipped; rows pasted meanwhile are not the pass's.
TEST_F(VerifyAllPass, RowsRemovedAreSkippedAndRowsAddedAreNotThePasss) {
    withRows(4);
    at(700, [this] {
        window.withRows([](model::ProxyRows& rows) {
            rows.eraseIf([](const model::Row& row) { return row[1] == "127.0.0.3"; });
            rows.startGeneration();
            rows.append(model::Row{"4", "127.0.0.9"});
        });
    });
    std::vector<std::string> verified;
    v::PassHooks recording = hooks();
    recording.startWorker = [&](int row) { verified.push_back(addressAt(row)); };
    v::runVerifyAll(window, running, recording);
    EXPECT_EQ(verified, (std::vector<std::string>{"127.0.0.1", "127.0.0.2", "127.0.0.4"}));
}

TEST_F(VerifyAllPass, AListClearedOrReplacedEndsThePass) {
    withRows(6);
    at(800, [this] {
        window.withRows([](model::ProxyRows& rows) { rows.clear(); });
        window.setRows({model::Row{"1", "127.0.0.7"}, model::Row{"2", "127.0.0.8"}});
    });
    pass();
    EXPECT_EQ(starts, (std::vector<Start>{{0, 0}, {500, 1}}));
    EXPECT_EQ(now, 1000);
    EXPECT_FALSE(running);
}

}  // namespace
