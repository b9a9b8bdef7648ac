// The list's pop-up menu in the real window, used as a person uses it: a
// right-click on a row and a click in the menu, or the menu keys. Missing
// selections, import and export through the real file dialogs, clipboard,
// clean-up, the system proxy switch and the scrolling notice.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
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

// The settings as a user may have them before the program starts: a company
// proxy, or none at all. Both values are removed again at the end.
class UsersSettings {
public:
    static constexpr wchar_t kCompanyProxy[] = L"10.20.30.40:3128";
    explicit UsersSettings(bool companyProxy) {
        clear();
        if (!companyProxy) return;
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        const DWORD one = 1;
        RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
        RegSetValueExW(key, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(kCompanyProxy),
                       sizeof kCompanyProxy);
        RegCloseKey(key);
    }
    ~UsersSettings() { clear(); }
    UsersSettings(const UsersSettings&) = delete;
    UsersSettings& operator=(const UsersSettings&) = delete;

    static bool companyProxyInPlace() {
        return proxyEnable() == std::optional<DWORD>(1) && proxyServer() == kCompanyProxy;
    }

private:
    static void clear() {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kInternetSettings, L"ProxyEnable");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kInternetSettings, L"ProxyServer");
    }
};

std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void setClipboardText(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
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

    // Set-up: the rows come in through the import by message.
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
        ASSERT_TRUE(app_->useListMenu(-1, c.command));
        const auto box = app_->answerMessageBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->title, L"信息：");
        EXPECT_EQ(box->text, c.message);
    }
}

// A right-click selects the row under the cursor, whatever was selected
// before, and the item chosen in the menu acts on that row.
TEST_F(ListActionsTest, RowItemsActOnTheRowThatWasRightClicked) {
    const std::string rows = "127.0.0.31:18199\r\n127.0.0.32:18199\r\n127.0.0.33:18199\r\n";
    for (const int selectedBefore : {-1, 0}) {
        for (const int item : {kMenuCopyProxy, kMenuSetProxy, kMenuVerifySelected}) {
            SCOPED_TRACE(testing::Message() << "item " << item << ", selected before " << selectedBefore);
            importLines(rows);
            setClipboardText("nothing yet");
            if (selectedBefore >= 0) {
                app_->clickRow(selectedBefore);
                ASSERT_TRUE(app_->waitFor([&] { return app_->selectedRow() == selectedBefore; }));
            }
            ASSERT_TRUE(app_->useListMenu(2, item));
            EXPECT_EQ(app_->selectedRow(), 2);
            switch (item) {
                case kMenuCopyProxy:
                    EXPECT_TRUE(app_->waitFor([] { return clipboardText() == "127.0.0.33:18199"; }))
                        << clipboardText();
                    break;
                case kMenuSetProxy:
                    EXPECT_TRUE(app_->waitFor([] { return proxyServer() == L"127.0.0.33:18199"; }));
                    break;
                default:
                    EXPECT_TRUE(app_->waitFor([&] { return app_->cell(2, 3) == L"失败"; }, 30s));
                    EXPECT_EQ(app_->cell(0, 3), L"");
                    EXPECT_EQ(app_->cell(1, 3), L"");
                    break;
            }
        }
    }
    EXPECT_TRUE(app_->useListMenu(-1, kMenuCancelProxy));
    EXPECT_TRUE(app_->waitFor([] { return !proxyServer().has_value(); }));
}

// Shift+F10 and the menu key open the menu beside the focused row; an item
// chosen with the keys acts on that row.
TEST_F(ListActionsTest, MenuKeysOpenTheMenuAtTheFocusedRow) {
    importLines("127.0.0.31:1\r\n127.0.0.32:2\r\n127.0.0.33:3\r\n");
    app_->clickRow(0);
    app_->pressKey(VK_DOWN);
    ASSERT_TRUE(app_->waitFor([&] { return app_->selectedRow() == 1; }));
    setClipboardText("nothing yet");

    app_->pressKey(VK_F10, {VK_SHIFT});
    HWND menu = app_->openMenu();
    ASSERT_NE(menu, nullptr);
    RECT m{};
    GetWindowRect(menu, &m);
    const RECT row = app_->rowRect(1);
    EXPECT_NEAR(m.top, row.bottom, 2);
    EXPECT_NEAR(m.left, row.left, 2);
    e2e::screenshotScreen(L"list-menu-keyboard");
    ASSERT_TRUE(app_->chooseMenuItemByKeys(kMenuCopyProxy));
    EXPECT_TRUE(app_->waitFor([] { return clipboardText() == "127.0.0.32:2"; })) << clipboardText();

    app_->pressKey(VK_DOWN);
    ASSERT_TRUE(app_->waitFor([&] { return app_->selectedRow() == 2; }));
    app_->pressKey(VK_APPS);
    ASSERT_NE(app_->openMenu(), nullptr);
    ASSERT_TRUE(app_->chooseMenuItemByKeys(kMenuSetProxy));
    EXPECT_TRUE(app_->waitFor([] { return proxyServer() == L"127.0.0.33:3"; }));
    EXPECT_TRUE(app_->clickCloseBox());
    EXPECT_EQ(app_->waitExit(), std::optional<DWORD>(0));
    EXPECT_FALSE(proxyServer().has_value());
}

// When the selected row goes, the focus goes with it: the list's focus is an
// index, and left alone it would stand on the row that moved up into place.
TEST_F(ListActionsTest, TheFocusGoesWithTheSelectedRow) {
    importLines("127.0.0.31:18199\r\n127.0.0.32:18199\r\n127.0.0.33:18199\r\n");
    ASSERT_TRUE(app_->useListMenu(1, kMenuVerifySelected));
    ASSERT_TRUE(app_->waitFor([&] { return app_->cell(1, 3) == L"失败"; }, 30s));
    app_->pressKey(VK_F10, {VK_SHIFT});
    ASSERT_TRUE(app_->chooseMenuItemByKeys(kMenuClearInvalid));
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 2; }));
    EXPECT_EQ(app_->selectedRow(), -1);

    app_->pressKey(VK_F10, {VK_SHIFT});
    HWND menu = app_->openMenu();
    ASSERT_NE(menu, nullptr);
    RECT m{};
    GetWindowRect(menu, &m);
    POINT corner{0, 0};
    ClientToScreen(app_->control(kProxyList), &corner);
    EXPECT_EQ(m.left, corner.x);
    EXPECT_EQ(m.top, corner.y);
    EXPECT_EQ(app_->selectedRow(), -1) << "no row had the focus";
    app_->pressKey(VK_ESCAPE);
}

// Import and export through the menu and the real dialogs, in a folder whose
// name code page 936 cannot hold: the chosen file is written and read back.
TEST_F(ListActionsTest, ImportAndExportInAFolderNamedInHangul) {
    const auto folder = folder_->path() / L"\uD55C\uAE00";  // 한글
    std::filesystem::create_directories(folder);
    const auto file = folder / L"proxies.txt";
    e2e::writeFile(file, "127.0.0.5:8080\r\n\r\nabc\r\n127.0.0.6:3128\n");
    ASSERT_TRUE(app_->useListMenu(-1, kMenuImport));
    ASSERT_TRUE(app_->answerFileDialog(file));
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 2; }));
    const auto rows = app_->rows();
    EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"1", L"127.0.0.5", L"8080", L"", L"", L"本地"}));
    EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"2", L"127.0.0.6", L"3128", L"", L"", L"本地"}));

    ASSERT_TRUE(app_->useListMenu(-1, kMenuExport));
    ASSERT_TRUE(app_->answerFileDialog(folder / L"exported"));
    const auto written = folder / L"exported.txt";
    const std::string exported = "127.0.0.5:8080\r\n127.0.0.6:3128\r\n";
    EXPECT_TRUE(app_->waitFor([&] { return e2e::readFile(written) == exported; }))
        << e2e::readFile(written);

    // "exported" typed again, where exported.txt exists now: the program asks
    // about exported.txt, and 否 leaves it as it is.
    e2e::writeFile(written, "the user's own list\r\n");
    ASSERT_TRUE(app_->useListMenu(-1, kMenuExport));
    ASSERT_TRUE(app_->answerFileDialog(folder / L"exported"));
    const auto question = app_->answerMessageBox(10s, IDNO);
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->title, L"信息：");
    EXPECT_NE(question->text.find(written.wstring()), std::wstring::npos) << question->text;
    Sleep(500);
    EXPECT_EQ(e2e::readFile(written), "the user's own list\r\n");
    ASSERT_TRUE(app_->useListMenu(-1, kMenuExport));
    ASSERT_TRUE(app_->answerFileDialog(folder / L"exported"));
    ASSERT_TRUE(app_->answerMessageBox(10s, IDYES).has_value());
    EXPECT_TRUE(app_->waitFor([&] { return e2e::readFile(written) == exported; }));

    ASSERT_TRUE(app_->useListMenu(-1, kMenuClearAll));
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 0; }));
    ASSERT_TRUE(app_->useListMenu(-1, kMenuImport));
    ASSERT_TRUE(app_->answerFileDialog(written));
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 2; }));
    EXPECT_EQ(app_->rows(), rows);
    app_->screenshot(L"after-import");
}

TEST_F(ListActionsTest, CopyThenPasteAppendsTheSameProxy) {
    importLines("127.0.0.7:9999\n");
    ASSERT_TRUE(app_->useListMenu(0, kMenuCopyProxy));
    ASSERT_TRUE(app_->useListMenu(0, kMenuPasteProxy));
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 2; }));
    EXPECT_EQ(app_->cell(1, 0), L"2");
    EXPECT_EQ(app_->cell(1, 1), L"127.0.0.7");
    EXPECT_EQ(app_->cell(1, 2), L"9999");
    EXPECT_EQ(app_->cell(1, 5), L"");
}

TEST_F(ListActionsTest, ClearingLeavesTheCountersAlone) {
    importLines("127.0.0.8:1\n127.0.0.9:2\n");
    const std::wstring success = app_->text(kSuccessTotalLabel);
    const std::wstring failure = app_->text(kFailureTotalLabel);
    ASSERT_TRUE(app_->useListMenu(-1, kMenuClearInvalid));
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 2; }));
    ASSERT_TRUE(app_->useListMenu(-1, kMenuClearAll));
    ASSERT_TRUE(app_->waitFor([&] { return app_->rowCount() == 0; }));
    EXPECT_EQ(app_->text(kSuccessTotalLabel), success);
    EXPECT_EQ(app_->text(kFailureTotalLabel), failure);
}

// A user without a proxy of their own ends with none, whether "取消代理" or
// the close box takes ours away.
TEST_F(ListActionsTest, SystemProxySwitchWritesAndClearsTheRegistry) {
    const UsersSettings noProxy(false);
    importLines("127.0.0.10:8080\n127.0.0.11:3128\n");
    ASSERT_TRUE(app_->useListMenu(0, kMenuSetProxy));
    ASSERT_TRUE(app_->waitFor([] { return proxyServer() == L"127.0.0.10:8080"; }));
    EXPECT_EQ(proxyEnable(), std::optional<DWORD>(1));

    ASSERT_TRUE(app_->useListMenu(1, kMenuSetProxy));
    ASSERT_TRUE(app_->waitFor([] { return proxyServer() == L"127.0.0.11:3128"; }));
    EXPECT_EQ(proxyEnable(), std::optional<DWORD>(1));

    ASSERT_TRUE(app_->useListMenu(-1, kMenuCancelProxy));
    ASSERT_TRUE(app_->waitFor([] { return !proxyServer().has_value(); }));
    EXPECT_EQ(proxyEnable(), std::optional<DWORD>(0));

    ASSERT_TRUE(app_->useListMenu(0, kMenuSetProxy));
    ASSERT_TRUE(app_->waitFor([] { return proxyServer().has_value(); }));
    EXPECT_TRUE(app_->clickCloseBox());
    EXPECT_EQ(app_->waitExit(), std::optional<DWORD>(0));
    EXPECT_EQ(proxyEnable(), std::optional<DWORD>(0));
    EXPECT_FALSE(proxyServer().has_value());
}

// A close that arrives during "设置代理"'s short wait ends the program at
// once, and the proxy is not switched on behind the closed window: the
// user's own proxy stays.
TEST_F(ListActionsTest, ClosingDuringTheSetProxyWaitLeavesTheUsersProxy) {
    const UsersSettings users(true);
    importLines("127.0.0.1:18190\r\n");
    const POINT closeBox = app_->closeBox();
    ASSERT_NE(closeBox.x, 0);
    app_->selectRow(0);
    app_->command(kMenuSetProxy);
    e2e::App::leftClickAt(closeBox);
    const auto closed = std::chrono::steady_clock::now();
    EXPECT_EQ(app_->waitExit(5s), std::optional<DWORD>(0));
    EXPECT_LT(std::chrono::steady_clock::now() - closed, 1s);
    EXPECT_TRUE(UsersSettings::companyProxyInPlace());
}

TEST_F(ListActionsTest, EndOfTheSessionGivesTheUsersProxyBack) {
    const UsersSettings users(true);
    importLines("127.0.0.12:8080\n");
    ASSERT_TRUE(app_->useListMenu(0, kMenuSetProxy));
    ASSERT_TRUE(app_->waitFor([] { return proxyServer() == L"127.0.0.12:8080"; }));
    // What Windows sends at log-off or shut-down instead of a close request.
    SendMessageW(app_->window(), WM_QUERYENDSESSION, 0, 0);
    EXPECT_TRUE(UsersSettings::companyProxyInPlace());
}

// A company proxy set before the program started: the close leaves it, and
// after "设置代理" the close gives it back. A proxy another program set over
// ours is that program's, and the close leaves it too.
TEST(SystemProxy, TheUsersOwnProxyOutlivesTheProgram) {
    const UsersSettings users(true);
    e2e::TempFolder folder(L"users-proxy");
    const auto setOurProxy = [&folder](e2e::App& app) {
        ASSERT_TRUE(app.started());
        ASSERT_TRUE(app.importProxies(folder.path(), "127.0.0.13:8080\r\n"));
        ASSERT_TRUE(app.useListMenu(0, kMenuSetProxy));
        ASSERT_TRUE(app.waitFor([] { return proxyServer() == L"127.0.0.13:8080"; }));
    };
    {
        e2e::App app;
        ASSERT_TRUE(app.started());
        EXPECT_TRUE(app.clickCloseBox());
        EXPECT_EQ(app.waitExit(), std::optional<DWORD>(0));
        EXPECT_TRUE(UsersSettings::companyProxyInPlace());
    }
    {
        e2e::App app;
        ASSERT_NO_FATAL_FAILURE(setOurProxy(app));
        EXPECT_EQ(proxyEnable(), std::optional<DWORD>(1));
        EXPECT_TRUE(app.clickCloseBox());
        EXPECT_EQ(app.waitExit(), std::optional<DWORD>(0));
        EXPECT_TRUE(UsersSettings::companyProxyInPlace());
    }
    {
        e2e::App app;
        ASSERT_NO_FATAL_FAILURE(setOurProxy(app));
        constexpr wchar_t kOtherProgram[] = L"127.0.0.14:8888";
        RegSetKeyValueW(HKEY_CURRENT_USER, kInternetSettings, L"ProxyServer", REG_SZ, kOtherProgram,
                        sizeof kOtherProgram);
        EXPECT_TRUE(app.clickCloseBox());
        EXPECT_EQ(app.waitExit(), std::optional<DWORD>(0));
        EXPECT_EQ(proxyServer(), kOtherProgram);
        EXPECT_EQ(proxyEnable(), std::optional<DWORD>(1));
    }
}

// The window's private messages, from another process and with any
// parameters, do nothing: work for the window thread never travels in them.
TEST_F(ListActionsTest, ForeignPrivateMessagesChangeNothing) {
    importLines("127.0.0.41:1\r\n127.0.0.42:2\r\n");
    const auto rows = app_->rows();
    const UINT doorbell = RegisterWindowMessageW(kWindowTasksMessage);
    for (const UINT message : {UINT{WM_APP + 1}, UINT{WM_APP + 2}, doorbell}) {
        for (const LPARAM junk : {LPARAM{0}, LPARAM{0x12345678}, LPARAM{-1}}) {
            PostMessageW(app_->window(), message, static_cast<WPARAM>(junk), junk);
            DWORD_PTR result = 0;
            SendMessageTimeoutW(app_->window(), message, static_cast<WPARAM>(junk), junk,
                                SMTO_NORMAL, 2000, &result);
        }
    }
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutW(app_->window(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result), 0)
        << "the window stopped answering";
    EXPECT_EQ(app_->rows(), rows);
    EXPECT_TRUE(app_->useListMenu(1, kMenuCopyProxy));
    EXPECT_TRUE(app_->waitFor([] { return clipboardText() == "127.0.0.42:2"; }));
}

TEST_F(ListActionsTest, NoticeKeepsMovingLeft) {
    HWND notice = app_->control(kNoticeLabel);
    const LONG first = e2e::rectInParent(notice).left;
    EXPECT_TRUE(app_->waitFor([&] { return e2e::rectInParent(notice).left != first; }, 3s));
}

TEST_F(ListActionsTest, RightClickOpensTheMenuBesideTheCursor) {
    app_->rightClickBelowRows();
    HWND menu = app_->openMenu();
    ASSERT_NE(menu, nullptr);
    e2e::screenshotScreen(L"list-menu");
    RECT m{};
    GetWindowRect(menu, &m);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(m.left, cursor.x + 3);
    EXPECT_EQ(m.top, cursor.y + 3);
    app_->pressKey(VK_ESCAPE);
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
