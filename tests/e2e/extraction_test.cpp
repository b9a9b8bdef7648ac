// "提取代理" in the real window against the stand-in extraction service.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "harness_win.h"
#include "ui/ids.h"

namespace {

using namespace velmora::ui;
using namespace std::chrono_literals;

constexpr int kServicePort = 18186;

bool serviceMode(const std::string& mode) {
    return e2e::httpRequest(L"POST", L"127.0.0.1", kServicePort, L"/_mode", mode).has_value();
}

std::string lastRequest() {
    return e2e::httpRequest(L"GET", L"127.0.0.1", kServicePort, L"/_last").value_or("");
}

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

class ExtractionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(e2e::httpRequest(L"POST", L"127.0.0.1", kServicePort, L"/_reset").has_value())
            << "the extraction service must run on port 18186";
        app_.emplace();
        ASSERT_TRUE(app_->started());
    }

    // Clicks the button and waits until the list holds `rows` rows.
    bool extract(int rows) {
        app_->clickButton(kExtractButton);
        return app_->waitFor([&] { return app_->rowCount() == rows; }, 20s);
    }

    std::optional<e2e::App> app_;
};

TEST_F(ExtractionTest, StartValuesSendTheExactFormAndFillNumberedRows) {
    ASSERT_TRUE(extract(10));
    const auto rows = app_->rows();
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[static_cast<std::size_t>(i)][0], std::to_wstring(i + 1));
        EXPECT_EQ(rows[static_cast<std::size_t>(i)][1].rfind(L"127.", 0), 0u);
        EXPECT_FALSE(rows[static_cast<std::size_t>(i)][2].empty());
        EXPECT_EQ(rows[static_cast<std::size_t>(i)][3], L"");
        EXPECT_EQ(rows[static_cast<std::size_t>(i)][4], L"");
        EXPECT_EQ(rows[static_cast<std::size_t>(i)][5], L"全国");
    }
    const std::string request = lastRequest();
    EXPECT_EQ(request.rfind("POST /Qrovanext7.php", 0), 0u) << request;
    EXPECT_NE(request.find(hex("tqsl=10&sxb=&ktip=&ports%5B%5D=&sxa=&submit=%CC%E1%C8%A1")),
              std::string::npos)
        << request;
    // The five header lines, in their order.
    const char* headers[] = {
        "Referer: http://127.0.0.1:18186", "Accept: */*", "Accept-Language: zh-cn",
        "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; T7WKX; .NET CLR "
        "2.0.50727; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)",
        "Content-Type: application/x-www-form-urlencoded"};
    std::size_t at = 0;
    for (const char* h : headers) {
        const auto found = request.find(h, at);
        EXPECT_NE(found, std::string::npos) << h << "\n" << request;
        if (found != std::string::npos) at = found;
    }
    app_->screenshot(L"after-extraction");
}

TEST_F(ExtractionTest, FiltersGoOnTheWireAndRegionClearsTheNationwideMark) {
    app_->setText(kCountEdit, L"3");
    app_->setText(kRegionEdit, L"北京");
    SendMessageW(app_->control(kCarrierCombo), CB_SETCURSEL, 1, 0);  // 电信
    ASSERT_TRUE(extract(3));
    for (const auto& row : app_->rows()) EXPECT_EQ(row[5], L"");
    const std::string request = lastRequest();
    EXPECT_NE(request.find(hex("tqsl=3&sxb=%B1%B1%BE%A9&ktip=&ports%5B%5D=&sxa=%B5%E7%D0%C5"
                               "&submit=%CC%E1%C8%A1")),
              std::string::npos)
        << request;
}

TEST_F(ExtractionTest, NumberingRestartsAndAFailedExtractionKeepsTheRows) {
    app_->setText(kCountEdit, L"4");
    ASSERT_TRUE(extract(4));
    app_->setText(kCountEdit, L"2");
    ASSERT_TRUE(extract(2));
    EXPECT_EQ(app_->cell(0, 0), L"1");
    EXPECT_EQ(app_->cell(1, 0), L"2");
    const auto before = app_->rows();

    for (const char* mode : {"empty", "error"}) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(serviceMode(mode));
        app_->clickButton(kExtractButton);
        const auto box = app_->answerMessageBox(20s);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->title, L"信息：");
        EXPECT_EQ(box->text, L"获取失败!!!");
        EXPECT_EQ(app_->rows(), before);
    }
}

// A service that sends "address:port" without end: the window keeps
// answering, the first 100,000 proxies are listed and the user is told.
TEST_F(ExtractionTest, AFloodingAnswerListsTheFirstHundredThousandAndSaysSo) {
    ASSERT_TRUE(serviceMode("proxy-flood"));
    app_->clickButton(kExtractButton);
    std::optional<e2e::MessageBoxSeen> box;
    const auto end = std::chrono::steady_clock::now() + 60s;
    while (!box && std::chrono::steady_clock::now() < end) {
        DWORD_PTR result = 0;
        ASSERT_NE(SendMessageTimeoutW(app_->window(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result), 0)
            << "the window stopped answering at " << app_->rowCount() << " rows";
        box = app_->answerMessageBox(200ms);
    }
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L"信息：");
    EXPECT_EQ(box->text, L"找到的代理太多，只列出了前100000个。");
    EXPECT_TRUE(app_->waitFor([&] { return app_->rowCount() == 100000; }, 5s));
    EXPECT_EQ(app_->cell(99999, 0), L"100000");
    EXPECT_EQ(app_->cell(99999, 1), L"127.1.1.1");
    EXPECT_EQ(app_->closeAndWait(), std::optional<DWORD>(0));
}

// A second extraction takes the list from a first one still filling it:
// the first one's later rows do not land, the list never holds more than
// 100,000 rows, and they are numbered from 1 without a restart. A paste on
// the full list adds nothing.
TEST_F(ExtractionTest, TwoFloodingExtractionsInARowStayWithinTheLimit) {
    ASSERT_TRUE(serviceMode("proxy-flood"));
    app_->clickButton(kExtractButton);
    Sleep(400);
    app_->clickButton(kExtractButton);
    // Each extraction that fills the list to the end says so once; the first
    // one says nothing when the second took the list from it.
    int boxes = 0;
    const auto end = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < end && boxes < 2) {
        EXPECT_LE(app_->rowCount(), 100000);
        const auto box = app_->answerMessageBox(boxes == 0 ? 500ms : 5s);
        if (box) {
            EXPECT_EQ(box->text, L"找到的代理太多，只列出了前100000个。");
            ++boxes;
        } else if (boxes == 1) {
            break;
        }
    }
    EXPECT_GE(boxes, 1);
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 100000; }, 10s)) << app_->rowCount();
    Sleep(500);
    ASSERT_EQ(app_->rowCount(), 100000);
    for (int row = 0; row < 100000; row += 4999) EXPECT_EQ(app_->cell(row, 0), std::to_wstring(row + 1));
    EXPECT_EQ(app_->cell(99999, 0), L"100000");

    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        const char proxy[] = "127.0.0.9:80";
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof proxy);
        std::memcpy(GlobalLock(block), proxy, sizeof proxy);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
    ASSERT_TRUE(app_->useListMenu(0, kMenuPasteProxy));
    const auto full = app_->answerMessageBox();
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->title, L"信息：");
    EXPECT_EQ(full->text, L"列表已有100000个代理，不能再粘贴。");
    EXPECT_EQ(app_->rowCount(), 100000);
    EXPECT_EQ(app_->closeAndWait(), std::optional<DWORD>(0));
}

TEST_F(ExtractionTest, AnAnswerThatNeverEndsDoesNotHangTheWindow) {
    ASSERT_TRUE(serviceMode("stall"));
    app_->clickButton(kExtractButton);
    // The window keeps answering while the worker waits for the service.
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutW(app_->window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result),
              0);
    EXPECT_EQ(app_->closeAndWait(), std::optional<DWORD>(0));
}

}  // namespace
