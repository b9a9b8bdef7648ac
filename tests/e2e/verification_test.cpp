// Verification in the real window, through the local echo page and real
// proxies: one that hides the caller (18190), one that passes the caller's
// address on (18191) and a port where nothing listens (18199).
#include <gtest/gtest.h>

#include <string>

#include "harness_win.h"
#include "ui/ids.h"

namespace {

using namespace velmora::ui;
using namespace std::chrono_literals;

constexpr char kRows[] =
    "127.0.0.1:18190\r\n"
    "127.0.0.1:18191\r\n"
    "127.0.0.1:18199\r\n";

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
    app_->selectRow(0);
    app_->command(kMenuVerifySelected);
    ASSERT_TRUE(app_->waitFor([&] { return app_->cell(0, 4) != L""; }, 30s));
    EXPECT_EQ(app_->cell(0, 3), L"成功");
    EXPECT_EQ(app_->cell(0, 4), L"极快") << "127.0.0.1 answers an ICMP echo";
    EXPECT_EQ(app_->text(kSuccessTotalLabel), L"1个IP");

    app_->selectRow(1);
    app_->command(kMenuVerifySelected);
    ASSERT_TRUE(app_->waitFor([&] { return verified(1); }, 30s));
    EXPECT_EQ(app_->cell(1, 3), L"失败") << "the page shows our own address";
    EXPECT_EQ(app_->cell(1, 4), L"无效");

    app_->selectRow(2);
    app_->command(kMenuVerifySelected);
    ASSERT_TRUE(app_->waitFor([&] { return verified(2); }, 60s));
    EXPECT_EQ(app_->cell(2, 3), L"失败");
    EXPECT_EQ(app_->cell(2, 4), L"无效");
    EXPECT_EQ(app_->text(kFailureTotalLabel), L"2个IP");

    // Counters survive clearing; clearing the invalid rows leaves the good one.
    app_->command(kMenuClearInvalid);
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 1; }));
    EXPECT_EQ(app_->cell(0, 1), L"127.0.0.1");
    EXPECT_EQ(app_->cell(0, 2), L"18190");
    EXPECT_EQ(app_->cell(0, 0), L"1");
    app_->command(kMenuClearAll);
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 0; }));
    EXPECT_EQ(app_->text(kSuccessTotalLabel), L"1个IP");
    EXPECT_EQ(app_->text(kFailureTotalLabel), L"2个IP");
    app_->screenshot(L"after-verification");
}

TEST_F(VerificationTest, VerifyAllVisitsEveryRowOnceAndEndsOnTheLast) {
    app_->command(kMenuVerifyAll);
    ASSERT_TRUE(app_->waitFor([&] { return verified(0) && verified(1) && verified(2); }, 60s));
    EXPECT_EQ(app_->selectedRow(), 2);
    EXPECT_EQ(app_->cell(0, 3), L"成功");
    EXPECT_EQ(app_->cell(1, 3), L"失败");
    EXPECT_EQ(app_->cell(2, 3), L"失败");
    // Each row once: one success and two failures in all.
    ASSERT_TRUE(app_->waitFor([&] { return app_->text(kFailureTotalLabel) == L"2个IP"; }, 30s));
    EXPECT_EQ(app_->text(kSuccessTotalLabel), L"1个IP");
}

TEST_F(VerificationTest, StopEndsThePassAfterTheCurrentRow) {
    app_->command(kMenuVerifyAll);
    app_->command(kMenuStopVerify);
    ASSERT_TRUE(app_->waitFor([&] { return verified(0); }, 30s));
    Sleep(2000);
    EXPECT_FALSE(verified(1));
    EXPECT_FALSE(verified(2));
    EXPECT_EQ(app_->selectedRow(), 0);
}

TEST(VerificationLifecycle, ClosingWhileAVerificationRunsEndsAtOnce) {
    e2e::TempFolder folder(L"verify-close");
    e2e::App app;
    ASSERT_TRUE(app.started());
    ASSERT_TRUE(app.importProxies(folder.path(), "127.0.0.1:18199\r\n"));
    app.selectRow(0);
    app.command(kMenuVerifySelected);
    EXPECT_EQ(app.closeAndWait(), std::optional<DWORD>(0));
}

}  // namespace
