// The list's pop-up menu in the real window: missing-selection messages,
// import and export through the real file dialogs, clipboard, clean-up, the
// system proxy switch and the scrolling notice.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "harness_win.h"
#include "ui/ids.h"

namespace {

using namespace velmora::ui;
using namespace std::chrono_literals;

constexpr wchar_t kInternetSettings[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::optional<DWORD> proxyEnable() {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kInternetSettings, L"ProxyEnable", RRF_RT_REG_DWORD,
                     nullptr, &value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::wstring> proxyServer() {
    wchar_t value[512] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kInternetSettings, L"ProxyServer", RRF_RT_REG_SZ, nullptr,
                     value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(value);
}

class ListActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.emplace(L"actions");
        app_.emplace();
        ASSERT_TRUE(app_->started());
    }
    void TearDown() override {
        app_.reset();
        folder_.reset();
    }

    void importLines(const std::string& content) {
        ASSERT_TRUE(app_->importProxies(folder_->path(), content));
    }

    std::optional<e2e::TempFolder> folder_;
    std::optional<e2e::App> app_;
};

TEST_F(ListActionsTest, ActionsWithoutASelectedRowSayWhatIsMissing) {
    struct Case {
        int command;
        const wchar_t* message;
    };
    const Case cases[] = {
        {kMenuCopyProxy, L"请选择需要复制的代理IP"},
        {kMenuSetProxy, L"请选择需要设置的代理IP"},
        {kMenuVerifySelected, L"请选择需要校验的IP地址"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        app_->command(c.command);
        const auto box = app_->answerMessageBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->title, L"信息：");
        EXPECT_EQ(box->text, c.message);
    }
}

TEST_F(ListActionsTest, ImportThenExportThroughTheRealDialogs) {
    importLines("127.0.0.5:8080\r\n\r\nabc\r\n127.0.0.6:3128\n");
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 2; }));
    const auto rows = app_->rows();
    EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"1", L"127.0.0.5", L"8080", L"", L"", L"本地"}));
    EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"2", L"127.0.0.6", L"3128", L"", L"", L"本地"}));

    const auto chosen = folder_->path() / L"exported";
    app_->command(kMenuExport);
    ASSERT_TRUE(app_->answerFileDialog(chosen));
    const auto written = folder_->path() / L"exported.txt";
    ASSERT_TRUE(app_->waitFor([&] { return std::filesystem::exists(written); }));
    EXPECT_EQ(e2e::readFile(written), "127.0.0.5:8080\r\n127.0.0.6:3128\r\n");
    app_->screenshot(L"after-import");
}

TEST_F(ListActionsTest, CopyThenPasteAppendsTheSameProxy) {
    importLines("127.0.0.7:9999\n");
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 1; }));
    app_->selectRow(0);
    app_->command(kMenuCopyProxy);
    app_->command(kMenuPasteProxy);
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 2; }));
    EXPECT_EQ(app_->cell(1, 0), L"2");
    EXPECT_EQ(app_->cell(1, 1), L"127.0.0.7");
    EXPECT_EQ(app_->cell(1, 2), L"9999");
    EXPECT_EQ(app_->cell(1, 5), L"");
}

TEST_F(ListActionsTest, ClearingLeavesTheCountersAlone) {
    importLines("127.0.0.8:1\n127.0.0.9:2\n");
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 2; }));
    const std::wstring success = app_->text(kSuccessTotalLabel);
    const std::wstring failure = app_->text(kFailureTotalLabel);
    app_->command(kMenuClearInvalid);
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 2; }));
    app_->command(kMenuClearAll);
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 0; }));
    EXPECT_EQ(app_->text(kSuccessTotalLabel), success);
    EXPECT_EQ(app_->text(kFailureTotalLabel), failure);
}

TEST_F(ListActionsTest, SystemProxySwitchWritesAndClearsTheRegistry) {
    importLines("127.0.0.10:8080\n127.0.0.11:3128\n");
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 2; }));

    app_->selectRow(0);
    app_->command(kMenuSetProxy);
    ASSERT_TRUE(app_->waitFor([] { return proxyServer() == L"127.0.0.10:8080"; }));
    EXPECT_EQ(proxyEnable(), std::optional<DWORD>(1));

    app_->selectRow(1);
    app_->command(kMenuSetProxy);
    ASSERT_TRUE(app_->waitFor([] { return proxyServer() == L"127.0.0.11:3128"; }));
    EXPECT_EQ(proxyEnable(), std::optional<DWORD>(1));

    app_->command(kMenuCancelProxy);
    ASSERT_TRUE(app_->waitFor([] { return !proxyServer().has_value(); }));
    EXPECT_EQ(proxyEnable(), std::optional<DWORD>(0));

    app_->selectRow(0);
    app_->command(kMenuSetProxy);
    ASSERT_TRUE(app_->waitFor([] { return proxyServer().has_value(); }));
    EXPECT_EQ(app_->closeAndWait(), std::optional<DWORD>(0));
    EXPECT_EQ(proxyEnable(), std::optional<DWORD>(0));
    EXPECT_FALSE(proxyServer().has_value());
}

// A close that arrives during "设置代理"'s short wait ends the program at
// once, and the proxy is not switched on behind the closed window.
TEST_F(ListActionsTest, ClosingDuringTheSetProxyWaitLeavesNoProxy) {
    importLines("127.0.0.1:18190\r\n");
    app_->selectRow(0);
    app_->command(kMenuSetProxy);
    const auto closed = std::chrono::steady_clock::now();
    PostMessageW(app_->window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(app_->waitExit(5s), std::optional<DWORD>(0));
    EXPECT_LT(std::chrono::steady_clock::now() - closed, 1s);
    EXPECT_EQ(proxyEnable(), std::optional<DWORD>(0));
    EXPECT_EQ(proxyServer(), std::nullopt);
}

TEST_F(ListActionsTest, EndOfTheSessionSwitchesTheProxyOff) {
    importLines("127.0.0.12:8080\n");
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 1; }));
    app_->selectRow(0);
    app_->command(kMenuSetProxy);
    ASSERT_TRUE(app_->waitFor([] { return proxyServer().has_value(); }));
    // What Windows sends at log-off or shut-down instead of a close request.
    SendMessageW(app_->window(), WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(proxyEnable(), std::optional<DWORD>(0));
    EXPECT_FALSE(proxyServer().has_value());
}

TEST_F(ListActionsTest, NoticeKeepsMovingLeft) {
    HWND notice = app_->control(kNoticeLabel);
    const LONG first = e2e::rectInParent(notice).left;
    EXPECT_TRUE(app_->waitFor([&] { return e2e::rectInParent(notice).left != first; }, 3s));
}

TEST_F(ListActionsTest, RightClickOnTheListOpensTheMenu) {
    HWND list = app_->control(kProxyList);
    RECT r{};
    GetWindowRect(list, &r);
    SetForegroundWindow(app_->window());
    SetCursorPos(r.left + 40, r.top + 60);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, clicks, sizeof(INPUT));
    // The program's own menu: a menu window of another process may linger.
    const DWORD program = GetProcessId(app_->process());
    const auto ownMenu = [program] {
        for (HWND w = FindWindowW(L"#32768", nullptr); w != nullptr;
             w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == program && IsWindowVisible(w)) return w;
        }
        return static_cast<HWND>(nullptr);
    };
    HWND menu = nullptr;
    EXPECT_TRUE(app_->waitFor([&] { return (menu = ownMenu()) != nullptr; }, 5s));
    e2e::screenshotScreen(L"list-menu");
    if (menu != nullptr) {
        RECT m{};
        GetWindowRect(menu, &m);
        POINT cursor{};
        GetCursorPos(&cursor);
        EXPECT_EQ(m.left, cursor.x + 3);
        EXPECT_EQ(m.top, cursor.y + 3);
        keybd_event(VK_ESCAPE, 0, 0, 0);
        keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    }
}

}  // namespace

namespace {

// The link labels hand their address to the shell, which opens the default
// browser; here that is a stand-in that records what it was given.
TEST(LinkLabels, EachOpensItsAddressInTheDefaultBrowser) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string script = VELMORA_RECORD_BROWSER;
    const std::wstring browser(script.begin(), script.end());
    RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(browser.c_str()),
                   static_cast<DWORD>((browser.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);

    wchar_t temp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TMPDIR", temp, MAX_PATH);
    const std::wstring unixTemp = temp[0] != 0 ? temp : L"/tmp";
    const std::filesystem::path log = L"Z:" + unixTemp + L"/velmora-e2e-browser.log";
    std::error_code ec;
    std::filesystem::remove(log, ec);

    e2e::App app;
    ASSERT_TRUE(app.started());
    const struct {
        int label;
        const char* address;
    } links[] = {
        {kServiceLinkLabel, VELMORA_EXPECTED_SERVICE_LINK},
        {kForumLinkLabel, VELMORA_EXPECTED_FORUM_LINK},
        {kMainSiteLinkLabel, VELMORA_EXPECTED_MAINSITE_LINK},
    };
    std::string expected;
    for (const auto& link : links) {
        expected += std::string(link.address) + "\n";
        HWND label = app.control(link.label);
        PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        ASSERT_TRUE(app.waitFor([&] { return e2e::readFile(log) == expected; }, 15s))
            << e2e::readFile(log);
    }
    EXPECT_EQ(app.closeAndWait(), std::optional<DWORD>(0));
}

}  // namespace
