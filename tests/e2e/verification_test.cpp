// Verification in the real window, through the local echo page and real
// proxies: one that hides the caller (18190), one that passes the caller's
// address on (18191), one whose upstream is down and that answers with its
// own "502" page (18192), and a port where nothing listens (18199).
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "harness_win.h"
#include "ui/ids.h"

namespace {

using namespace velmora::ui;
using namespace std::chrono_literals;

constexpr char kRows[] =
    "127.0.0.1:18190\r\n"
    "127.0.0.1:18191\r\n"
    "127.0.0.1:18199\r\n"
    "127.0.0.1:18192\r\n";

int echoPagesServed() {
    return std::stoi(e2e::httpRequest(L"GET", L"127.0.0.1", 18187, L"/_count").value_or("-1"));
}

int total(const e2e::App& app, int label) { return std::stoi(app.text(label)); }

class VerificationTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.emplace(L"verify");
        app_.emplace();
        ASSERT_TRUE(app_->started());
        ASSERT_TRUE(app_->importProxies(folder_->path(), kRows));
        // The own address is learned at start, on a thread of its own.
        Sleep(1500);
    }

    bool verified(int row) const { return !app_->cell(row, 3).empty(); }

    std::optional<e2e::TempFolder> folder_;
    std::optional<e2e::App> app_;
};

TEST_F(VerificationTest, SelectedRowsPassOnlyThroughTheHidingProxy) {
    ASSERT_TRUE(app_->useListMenu(0, kMenuVerifySelected));
    ASSERT_TRUE(app_->waitFor([&] { return app_->cell(0, 4) != L""; }, 30s));
    EXPECT_EQ(app_->cell(0, 3), L"成功");
    EXPECT_EQ(app_->cell(0, 4), L"极快") << "127.0.0.1 answers an ICMP echo";
    EXPECT_EQ(app_->text(kSuccessTotalLabel), L"1个IP");

    ASSERT_TRUE(app_->useListMenu(1, kMenuVerifySelected));
    ASSERT_TRUE(app_->waitFor([&] { return verified(1); }, 30s));
    EXPECT_EQ(app_->cell(1, 3), L"失败") << "the page shows our own address";
    EXPECT_EQ(app_->cell(1, 4), L"无效");

    ASSERT_TRUE(app_->useListMenu(2, kMenuVerifySelected));
    ASSERT_TRUE(app_->waitFor([&] { return verified(2); }, 60s));
    EXPECT_EQ(app_->cell(2, 3), L"失败");
    EXPECT_EQ(app_->cell(2, 4), L"无效");
    EXPECT_EQ(app_->text(kFailureTotalLabel), L"2个IP");

    ASSERT_TRUE(app_->useListMenu(3, kMenuVerifySelected));
    ASSERT_TRUE(app_->waitFor([&] { return verified(3); }, 60s));
    EXPECT_EQ(app_->cell(3, 3), L"失败") << "the proxy's own error page is not the echo page";
    EXPECT_EQ(app_->cell(3, 4), L"无效");
    EXPECT_EQ(app_->text(kFailureTotalLabel), L"3个IP");

    // Counters survive clearing; clearing the invalid rows leaves the good one.
    ASSERT_TRUE(app_->useListMenu(-1, kMenuClearInvalid));
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 1; }));
    EXPECT_EQ(app_->cell(0, 1), L"127.0.0.1");
    EXPECT_EQ(app_->cell(0, 2), L"18190");
    EXPECT_EQ(app_->cell(0, 0), L"1");
    ASSERT_TRUE(app_->useListMenu(-1, kMenuClearAll));
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 0; }));
    EXPECT_EQ(app_->text(kSuccessTotalLabel), L"1个IP");
    EXPECT_EQ(app_->text(kFailureTotalLabel), L"3个IP");
    app_->screenshot(L"after-verification");
}

TEST_F(VerificationTest, VerifyAllVisitsEveryRowOnceAndEndsOnTheLast) {
    ASSERT_TRUE(app_->useListMenu(-1, kMenuVerifyAll));
    ASSERT_TRUE(app_->waitFor(
        [&] { return verified(0) && verified(1) && verified(2) && verified(3); }, 60s));
    EXPECT_EQ(app_->selectedRow(), 3);
    EXPECT_EQ(app_->cell(0, 3), L"成功");
    EXPECT_EQ(app_->cell(1, 3), L"失败");
    EXPECT_EQ(app_->cell(2, 3), L"失败");
    EXPECT_EQ(app_->cell(3, 3), L"失败");
    // Each row once: one success and three failures in all.
    ASSERT_TRUE(app_->waitFor([&] { return app_->text(kFailureTotalLabel) == L"3个IP"; }, 30s));
    EXPECT_EQ(app_->text(kSuccessTotalLabel), L"1个IP");
}

// "停止验证" during a pass, from the menu a right-click opens: the pass waits
// while the menu is open, and no row is started after the choice.
TEST_F(VerificationTest, StopFromTheMenuEndsThePassBeforeTheNextRow) {
    constexpr int kRowsInPass = 60;
    std::string rows;
    for (int i = 0; i < kRowsInPass; ++i) rows += "127.0.0.1:18199\r\n";
    ASSERT_TRUE(app_->importProxies(folder_->path(), rows));
    ASSERT_TRUE(app_->useListMenu(-1, kMenuVerifyAll));
    // Dead proxies fail at once: the failures count the rows started.
    ASSERT_TRUE(app_->waitFor([&] { return total(*app_, kFailureTotalLabel) >= 2; }));
    app_->rightClickBelowRows();
    ASSERT_NE(app_->openMenu(), nullptr);
    Sleep(1500);
    const int started = total(*app_, kFailureTotalLabel);
    ASSERT_TRUE(app_->clickMenuItem(kMenuStopVerify));
    Sleep(3000);
    EXPECT_EQ(total(*app_, kFailureTotalLabel), started);
    ASSERT_LT(started, kRowsInPass) << "the pass ended before it could be stopped";
    for (int row = started; row < kRowsInPass; ++row) EXPECT_FALSE(verified(row)) << row;
}

// A verification's outcome belongs to the row it verified: a list refilled
// meanwhile, with the same proxy even, gets no outcome from it.
TEST_F(VerificationTest, AListRefilledDuringAVerificationGetsNoStrayOutcome) {
    // 18188 answers through as a hiding proxy would, after 2 s.
    ASSERT_TRUE(app_->importProxies(folder_->path(), "127.0.0.1:18188\r\n"));
    app_->selectRow(0);
    app_->command(kMenuVerifySelected);
    Sleep(300);
    ASSERT_TRUE(app_->importProxies(folder_->path(), "127.0.0.1:18188\r\n"));
    ASSERT_TRUE(app_->waitFor([&] { return app_->text(kSuccessTotalLabel) == L"1个IP"; }, 30s));
    Sleep(500);
    EXPECT_EQ(app_->cell(0, 3), L"");
    EXPECT_EQ(app_->cell(0, 4), L"");

    // The same proxy verified in its own row does get the outcome.
    app_->selectRow(0);
    app_->command(kMenuVerifySelected);
    ASSERT_TRUE(app_->waitFor([&] { return app_->cell(0, 4) == L"极快"; }, 30s));
    EXPECT_EQ(app_->cell(0, 3), L"成功");
}

// "清除全部" during a pass over dead proxies: the pass ends with its rows, and
// the failures counted are those of the rows tried before the clear.
TEST_F(VerificationTest, ClearingTheListDuringAPassCountsOnlyTheRowsTried) {
    std::string rows;
    for (int i = 0; i < 6; ++i) rows += "127.0.0.1:18199\r\n";
    ASSERT_TRUE(app_->importProxies(folder_->path(), rows));
    ASSERT_TRUE(app_->useListMenu(-1, kMenuVerifyAll));
    Sleep(800);
    ASSERT_TRUE(app_->useListMenu(-1, kMenuClearAll));
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 0; }));
    Sleep(1000);
    const int tried = total(*app_, kFailureTotalLabel);
    // The old pass went on for the six rows' three seconds.
    Sleep(3500);
    EXPECT_EQ(total(*app_, kFailureTotalLabel), tried);
    EXPECT_GE(tried, 1);
    EXPECT_LT(tried, 6);
}

// Closing during "验证全部" ends the pass with the window: the process is gone
// within a second, and no request reaches the echo page afterwards. The close
// comes just after a row's request was served; the row started next may
// still have its request on the way (slow on a loaded machine), while a pass
// going on would have sent six more in the three seconds after.
TEST(VerificationLifecycle, ClosingDuringVerifyAllEndsWithinASecond) {
    e2e::TempFolder folder(L"verify-all-close");
    e2e::App app;
    ASSERT_TRUE(app.started());
    std::string rows;
    for (int i = 0; i < 40; ++i) rows += "127.0.0.1:18190\r\n";
    ASSERT_TRUE(app.importProxies(folder.path(), rows));
    const POINT closeBox = app.closeBox();
    ASSERT_NE(closeBox.x, 0);
    app.command(kMenuVerifyAll);
    ASSERT_TRUE(app.waitFor([&] { return !app.cell(2, 4).empty(); }, 20s));
    const int before = echoPagesServed();
    ASSERT_TRUE(app.waitFor([&] { return echoPagesServed() > before; }, 5s));
    const int atClose = echoPagesServed();
    e2e::App::leftClickAt(closeBox);
    const auto closed = std::chrono::steady_clock::now();
    const std::optional<DWORD> code = app.waitExit(5s);
    const auto took = std::chrono::steady_clock::now() - closed;
    EXPECT_EQ(code, std::optional<DWORD>(0));
    EXPECT_LT(took, 1s) << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    Sleep(3000);
    EXPECT_LE(echoPagesServed() - atClose, 2) << "requests after the window was gone";
}

// The echo page cannot be reached while the program starts (the network is
// not up yet): the own address is learnt again at the first verification,
// and a proxy that hides the caller passes.
TEST(VerificationLifecycle, AnEchoPageBackAfterTheStartLetsAHidingProxyPass) {
    const int before = echoPagesServed();
    ASSERT_TRUE(e2e::httpRequest(L"GET", L"127.0.0.1", 18187, L"/_outage?ms=4000"));
    const auto outage = std::chrono::steady_clock::now();
    e2e::TempFolder folder(L"verify-outage");
    e2e::App app;
    ASSERT_TRUE(app.started());
    ASSERT_TRUE(app.importProxies(folder.path(), "127.0.0.1:18190\r\n"));
    Sleep(1000);
    ASSERT_LT(std::chrono::steady_clock::now() - outage, 4s) << "the start took too long to fall in the outage";
    EXPECT_EQ(echoPagesServed(), before) << "the start's request must have met the outage";
    std::this_thread::sleep_until(outage + 4500ms);

    ASSERT_TRUE(app.useListMenu(0, kMenuVerifySelected));
    ASSERT_TRUE(app.waitFor([&] { return !app.cell(0, 4).empty(); }, 30s));
    EXPECT_EQ(app.cell(0, 3), L"成功");
    EXPECT_EQ(echoPagesServed(), before + 2) << "one direct request for the own address, one through the proxy";
}

TEST(VerificationLifecycle, ClosingWhileAVerificationRunsEndsAtOnce) {
    e2e::TempFolder folder(L"verify-close");
    e2e::App app;
    ASSERT_TRUE(app.started());
    ASSERT_TRUE(app.importProxies(folder.path(), "127.0.0.1:18199\r\n"));
    app.selectRow(0);
    app.command(kMenuVerifySelected);
    EXPECT_TRUE(app.clickCloseBox());
    EXPECT_EQ(app.waitExit(), std::optional<DWORD>(0));
}

}  // namespace
