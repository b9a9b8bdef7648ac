// The main window as a user's inspection tools see it.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "harness_win.h"
#include "ui/ids.h"
#include "util/start_captions.h"

namespace {

using namespace velmora::ui;

std::wstring fromGbk(const std::string& gbk) {
    if (gbk.empty()) return {};
    const int n = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), out.data(), n);
    return out;
}

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { app_ = new e2e::App(); }
    static void TearDownTestSuite() {
        delete app_;
        app_ = nullptr;
    }
    static e2e::App* app_;
};

e2e::App* WindowTest::app_ = nullptr;

TEST_F(WindowTest, FrameIsFixedCentredAndSized) {
    ASSERT_TRUE(app_->started());
    HWND w = app_->window();
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 485);
    EXPECT_EQ(r.bottom - r.top, 524);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 485) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 524) / 2);

    const LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetMenu(w), nullptr) << "the menu bar holds no visible item";
    app_->screenshot(L"main-window");
}

struct ExpectedControl {
    int id;
    const wchar_t* cls;
    int parent;  // 0: the main window
    int left, top, width, height;
    const wchar_t* text;  // nullptr: not compared (replaced at start or the maker's text)
    bool tabStop;
    bool visible;
};

// The window's layout, written out from the design independently of the
// program's own tables.
const ExpectedControl kExpected[] = {
    {kNoticeLabel, L"Static", 0, 0, 0, 728, 24, nullptr, false, true},
    {kShareNoticeLabel, L"Static", 0, 8, 32, 464, 24, nullptr, false, true},
    {kProxyList, L"SysListView32", 0, 8, 64, 472, 264, L"", true, true},
    {kExtractionGroup, L"Button", 0, 8, 336, 352, 96, L"IP提取配置", false, true},
    {kCountCaption, L"Static", kExtractionGroup, 8, 24, 56, 24, L"提取数量：", false, true},
    {kCountEdit, L"Edit", kExtractionGroup, 72, 24, 40, 24, L"10", true, true},
    {kPrefixCaption, L"Static", kExtractionGroup, 120, 24, 56, 24, L"开头IP：", false, true},
    {kPrefixEdit, L"Edit", kExtractionGroup, 168, 24, 56, 24, L"", true, true},
    {kCarrierCaption, L"Static", kExtractionGroup, 224, 24, 56, 24, L"运营商：", false, true},
    {kCarrierCombo, L"ComboBox", kExtractionGroup, 272, 24, 58, -1, nullptr, true, true},
    {kRegionCaption, L"Static", kExtractionGroup, 8, 64, 56, 24, L"包含地区：", false, true},
    {kRegionEdit, L"Edit", kExtractionGroup, 72, 64, 40, 24, L"", true, true},
    {kPortCaption, L"Static", kExtractionGroup, 112, 66, 56, 24, L"选择端口：", false, true},
    {kPortCombo, L"ComboBox", kExtractionGroup, 168, 64, 64, -1, nullptr, true, true},
    {kExtractButton, L"Button", kExtractionGroup, 240, 56, 96, 32, L"提取代理", true, true},
    {kResultGroup, L"Button", 0, 362, 336, 120, 144, L"返回结果", false, true},
    {kSuccessCaption, L"Static", kResultGroup, 8, 16, 56, 24, L"累计成功：", false, true},
    {kSuccessTotalLabel, L"Static", kResultGroup, 68, 16, 48, 24, L"0个IP", false, true},
    {kFailureCaption, L"Static", kResultGroup, 8, 48, 56, 24, L"累计失败：", false, true},
    {kFailureTotalLabel, L"Static", kResultGroup, 68, 48, 48, 24, L"0个IP", false, true},
    {kRandomNoteLabel, L"Static", kResultGroup, 7, 80, 104, 32, L"查询的IP均为随机\r\n\r\n", false,
     true},
    {kCreditLabel, L"Static", kResultGroup, 7, 112, 104, 24, nullptr, false, true},
    {kLinksGroup, L"Button", 0, 8, 432, 352, 48, L"友情链接", false, true},
    {kServiceLinkLabel, L"Static", kLinksGroup, 16, 16, 96, 24, nullptr, false, true},
    {kForumLinkLabel, L"Static", kLinksGroup, 120, 16, 96, 24, nullptr, false, true},
    {kMainSiteLinkLabel, L"Static", kLinksGroup, 224, 16, 96, 24, nullptr, false, true},
    {kRawResultEdit, L"Edit", 0, 768, 104, 168, 40, L"", false, false},
};

TEST_F(WindowTest, EveryControlHasItsKindParentPlaceTextAndTabStop) {
    ASSERT_TRUE(app_->started());
    for (const ExpectedControl& e : kExpected) {
        SCOPED_TRACE(e.id);
        HWND c = app_->control(e.id);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(e2e::className(c), e.cls);
        HWND parent = GetParent(c);
        if (e.parent == 0) {
            EXPECT_EQ(parent, app_->window());
        } else {
            EXPECT_EQ(GetDlgCtrlID(parent), e.parent);
        }
        const RECT r = e2e::rectInParent(c);
        // The notice scrolls from the first tick on.
        if (e.id != kNoticeLabel) {
            EXPECT_EQ(r.left, e.left);
        }
        EXPECT_EQ(r.top, e.top);
        EXPECT_EQ(r.right - r.left, e.width);
        if (e.height > 0) {
            EXPECT_EQ(r.bottom - r.top, e.height);
        }
        if (e.text != nullptr) {
            EXPECT_EQ(app_->text(c), e.text);
        }
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        EXPECT_EQ((style & WS_TABSTOP) != 0, e.tabStop);
        EXPECT_EQ(IsWindowVisible(c) != FALSE, e.visible);
    }
}

TEST_F(WindowTest, LinkLabelsAreNotifyingStatics) {
    for (int id : {kServiceLinkLabel, kForumLinkLabel, kMainSiteLinkLabel}) {
        HWND c = app_->control(id);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(GetWindowLongW(c, GWL_STYLE) & SS_NOTIFY);
        EXPECT_FALSE(app_->text(c).empty());
    }
}

TEST_F(WindowTest, ListHasSixColumnsAndReportStyles) {
    struct Column {
        const wchar_t* caption;
        int width;
        int format;
    };
    const Column expected[] = {
        {L"序号", 40, LVCFMT_LEFT},   {L"代理IP", 180, LVCFMT_CENTER},
        {L"端口", 50, LVCFMT_CENTER}, {L"验证", 60, LVCFMT_CENTER},
        {L"网速", 60, LVCFMT_CENTER}, {L"地区", 60, LVCFMT_CENTER},
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(app_->columnCaption(i), expected[i].caption);
        EXPECT_EQ(app_->columnWidth(i), expected[i].width);
        EXPECT_EQ(app_->columnFormat(i), expected[i].format);
    }
    EXPECT_EQ(app_->columnCaption(6), L"");
    HWND list = app_->control(kProxyList);
    const LONG style = GetWindowLongW(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING));
    EXPECT_FALSE(style & LVS_EDITLABELS);
    EXPECT_FALSE(style & (LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER));
    const auto ex = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(ex & LVS_EX_GRIDLINES);
    EXPECT_FALSE(ex & LVS_EX_CHECKBOXES);
    EXPECT_EQ(SendMessageW(list, LVM_GETBKCOLOR, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(SendMessageW(list, LVM_GETTEXTBKCOLOR, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(app_->rowCount(), 0);
    EXPECT_EQ(app_->selectedRow(), -1);
}

TEST_F(WindowTest, CombosStartWithEmptyTexts) {
    const std::vector<std::wstring> carriers = {L"", L"电信", L"联通", L"移动"};
    const std::vector<std::wstring> ports = {L"18186", L"1998", L"9999", L"8080",
                                             L"3128",  L"80",   L""};
    EXPECT_EQ(app_->comboItems(kCarrierCombo), carriers);
    EXPECT_EQ(app_->comboItems(kPortCombo), ports);
    HWND carrier = app_->control(kCarrierCombo);
    HWND port = app_->control(kPortCombo);
    EXPECT_EQ(GetWindowLongW(carrier, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(GetWindowLongW(port, GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_EQ(SendMessageW(carrier, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(port, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(app_->text(carrier), L"");
    EXPECT_EQ(app_->text(port), L"");
    // Open, each list reaches down to 160 pixels below the control's top.
    for (HWND combo : {carrier, port}) {
        RECT closed{};
        GetWindowRect(combo, &closed);
        RECT dropped{};
        SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        // Created 160 high, list included. Windows reports that whole height
        // here; Wine leaves out the height of the closed field and its frame,
        // so allow for that much less.
        const LONG height = dropped.bottom - closed.top;
        EXPECT_LE(height, 160);
        EXPECT_GE(height, 160 - 2 * (closed.bottom - closed.top)) << height;
    }
}

TEST_F(WindowTest, StatusBarHasTwoPanels) {
    HWND bar = app_->control(kStatusBar);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(e2e::className(bar), L"msctls_statusbar32");
    EXPECT_EQ(app_->statusEdges(), (std::vector<int>{118, 618}));
    EXPECT_EQ(app_->statusText(0), L"软件提取状态：正常             ");
    RECT client{};
    GetClientRect(app_->window(), &client);
    const RECT r = e2e::rectInParent(bar);
    EXPECT_EQ(r.bottom, client.bottom) << "docked along the bottom edge";
}

TEST_F(WindowTest, StartCaptionsReplaceTheDesignTimeCaptions) {
    const auto texts = velmora::decodeStartCaptions();
    EXPECT_EQ(app_->text(app_->window()), fromGbk(texts[0]));
    EXPECT_EQ(app_->text(kShareNoticeLabel), fromGbk(texts[1]));
    EXPECT_EQ(app_->text(kNoticeLabel), fromGbk(texts[2]));
    EXPECT_EQ(app_->statusText(1), fromGbk(texts[3]));
    EXPECT_NE(app_->text(app_->window()).find(L"Velmora"), std::wstring::npos);
}

TEST_F(WindowTest, RawResultEditStaysHidden) {
    HWND raw = app_->control(kRawResultEdit);
    ASSERT_NE(raw, nullptr);
    const LONG style = GetWindowLongW(raw, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(IsWindowVisible(raw));
}

TEST(WindowLifecycle, CloseBoxEndsWithExitCodeZero) {
    e2e::App app;
    ASSERT_TRUE(app.started());
    EXPECT_TRUE(app.clickCloseBox());
    EXPECT_EQ(app.waitExit(), std::optional<DWORD>(0));
}

TEST(WindowLifecycle, AltF4EndsWithExitCodeZero) {
    e2e::App app;
    ASSERT_TRUE(app.started());
    app.pressKey(VK_F4, {VK_MENU});
    EXPECT_EQ(app.waitExit(), std::optional<DWORD>(0));
}

TEST(WindowLifecycle, SkinFilesLandNextToTheProgramWhateverTheWorkingFolder) {
    e2e::TempFolder programFolder(L"program");
    e2e::TempFolder elsewhere(L"elsewhere");
    const auto program = e2e::installProgram(programFolder.path());
    {
        e2e::App app(program, elsewhere.path());
        ASSERT_TRUE(app.started());
        EXPECT_TRUE(std::filesystem::exists(programFolder.path() / L"jedata.dll"));
        EXPECT_FALSE(std::filesystem::exists(elsewhere.path() / L"jedata.dll"));
        EXPECT_EQ(app.closeAndWait(), std::optional<DWORD>(0));
    }
}

}  // namespace

namespace {

// The suite runs twice, in a prefix whose ANSI code page is 936 and in the C
// locale; make sure each run really has the code page it claims.
TEST(WindowCodePage, TheRunHasTheCodePageItsLocaleNames) {
    wchar_t lang[64] = {};
    GetEnvironmentVariableW(L"LC_ALL", lang, 64);
    const std::wstring locale = lang;
    if (locale.rfind(L"zh_CN", 0) == 0) {
        EXPECT_EQ(GetACP(), 936u);
    } else if (locale == L"C" || locale.rfind(L"C.", 0) == 0) {
        EXPECT_NE(GetACP(), 936u);
    }
    e2e::App app;
    ASSERT_TRUE(app.started());
    EXPECT_EQ(app.text(velmora::ui::kExtractButton), L"提取代理");
    EXPECT_EQ(app.closeAndWait(), std::optional<DWORD>(0));
}

}  // namespace
