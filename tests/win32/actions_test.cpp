// The list actions against the real (Wine) registry, clipboard and files.
// MemoryWindow stands where the window and its dialogs would be.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "actions/clipboard_actions.h"
#include "actions/clipboard_win.h"
#include "actions/file_io_win.h"
#include "actions/import_export.h"
#include "actions/system_proxy.h"
#include "actions/system_proxy_win.h"
#include "support/memory_window.h"
#include "ui/wait_responsive_win.h"

namespace velmora::actions {
namespace {

using fakes::MemoryWindow;
using model::Row;

void runAtOnce(const std::function<void()>& read) { read(); }

// Loopback addresses where nothing listens: a proxy left set by a failing
// test can never send anything off the machine.
const Row kFirst = {"1", "127.0.0.1", "18199", "", "", ""};
const Row kSecond = {"2", "127.0.0.2", "18199", "成功", "极快", ""};

class SettingsKey {
public:
    SettingsKey() {
        RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettingsPath, 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
    }
    ~SettingsKey() { RegCloseKey(key_); }
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;

    std::optional<DWORD> dword(const char* name) const {
        DWORD type = 0, value = 0, size = sizeof value;
        if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                ERROR_SUCCESS ||
            type != REG_DWORD) {
            return std::nullopt;
        }
        return value;
    }
    std::optional<std::string> string(const char* name) const {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_SZ) {
            return std::nullopt;
        }
        std::string value(size, '\0');
        RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size);
        // The stored value carries its terminating zero.
        EXPECT_TRUE(size > 0 && value[size - 1] == '\0') << name;
        value.resize(size > 0 ? size - 1 : 0);
        return value;
    }
    void setString(const char* name, const std::string& value) {
        RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    void setDword(const char* name, DWORD value) {
        RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    void remove(const char* name) { RegDeleteValueA(key_, name); }
    // A company proxy, as a user may have set it before the program started.
    void setUsersProxy() {
        setDword("ProxyEnable", 1);
        setString("ProxyServer", "10.20.30.40:3128");
    }
    bool holdsUsersProxy() const {
        return dword("ProxyEnable") == 1U && string("ProxyServer") == "10.20.30.40:3128";
    }

private:
    HKEY key_ = nullptr;
};

// The test thread's messages, dispatched as the window's event handling
// would; it lives as long as the switch may pause with it.
class ThreadPump final : public ui::EventPump {
public:
    void processPending() override {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    bool windowOpen() override { return true; }
};

ThreadPump& threadPump() {
    static ThreadPump pump;
    return pump;
}

void threadPause(int milliseconds) { ui::WaitResponsive(threadPump(), milliseconds); }

class SystemProxyRegistry : public ::testing::Test {
protected:
    SystemProxyRegistry() { window.setRows({kFirst, kSecond}); }
    ~SystemProxyRegistry() override {
        key.remove("ProxyEnable");
        key.remove("ProxyServer");
    }

    MemoryWindow window;
    SettingsKey key;
    SystemProxySwitch proxySwitch{currentUserProxySettings()};
};

TEST_F(SystemProxyRegistry, CancelCreatesAMissingEnableAndTouchesNothingElse) {
    key.remove("ProxyEnable");
    key.remove("ProxyServer");
    key.setString("ProxyOverride", "<local>");
    switchSystemProxyOff();
    EXPECT_EQ(key.dword("ProxyEnable"), 0U);
    EXPECT_EQ(key.string("ProxyServer"), std::nullopt);
    EXPECT_EQ(key.string("ProxyOverride"), "<local>");
    key.remove("ProxyOverride");
}

TEST_F(SystemProxyRegistry, SetReplacesAndCancelGivesTheUsersProxyBack) {
    key.setUsersProxy();
    window.setCurrentRow(0);
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(key.dword("ProxyEnable"), 1U);
    EXPECT_EQ(key.string("ProxyServer"), "127.0.0.1:18199");

    window.setCurrentRow(1);
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(key.dword("ProxyEnable"), 1U);
    EXPECT_EQ(key.string("ProxyServer"), "127.0.0.2:18199");

    proxySwitch.switchOff();
    EXPECT_TRUE(key.holdsUsersProxy());
    // With nothing of ours in place, "取消代理" switches off as asked.
    proxySwitch.switchOff();
    EXPECT_EQ(key.dword("ProxyEnable"), 0U);
    EXPECT_EQ(key.string("ProxyServer"), std::nullopt);
}

TEST_F(SystemProxyRegistry, NoSelectionLeavesTheRegistry) {
    key.setString("ProxyServer", "127.0.0.9:1");
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(key.string("ProxyServer"), "127.0.0.9:1");
    ASSERT_EQ(window.messages().size(), 1U);
    EXPECT_EQ(window.messages()[0].text, "请选择需要设置的代理IP");
}

// The crash reset gives the user's proxy back while ours is in place, and
// leaves alone what another program put there since.
TEST_F(SystemProxyRegistry, CrashResetRestoresOnlyOverItsOwnProxy) {
    key.setUsersProxy();
    window.setCurrentRow(0);
    switchSystemProxyOn(window, window, threadPause);
    EXPECT_EQ(key.string("ProxyServer"), "127.0.0.1:18199");
    restoreSystemProxyAfterCrash();
    EXPECT_TRUE(key.holdsUsersProxy());

    key.remove("ProxyEnable");
    key.remove("ProxyServer");
    switchSystemProxyOn(window, window, threadPause);
    key.setString("ProxyServer", "127.0.0.1:8888");
    restoreSystemProxyAfterCrash();
    EXPECT_EQ(key.string("ProxyServer"), "127.0.0.1:8888");
    EXPECT_EQ(key.dword("ProxyEnable"), 1U);
}

// A hidden window whose posted message deletes the list while the switch
// pauses: the wait must hand it to the window procedure, and the switch must
// then leave the user's settings as they were.
MemoryWindow* gListToClear = nullptr;

LRESULT CALLBACK clearingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP && gListToClear) {
        gListToClear->withRows([](model::ProxyRows& rows) { rows.clear(); });
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(SystemProxyRegistry, EventsRunDuringThePause) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = clearingProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelmoraActionsTestWindow";
    RegisterClassW(&windowClass);
    HWND hidden = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(hidden, nullptr);
    gListToClear = &window;

    // The message arrives while the pause is running.
    struct Poster {
        static DWORD WINAPI run(void* target) {
            Sleep(50);
            PostMessageW(static_cast<HWND>(target), WM_APP, 0, 0);
            return 0;
        }
    };
    key.setUsersProxy();
    window.setCurrentRow(0);
    HANDLE poster = CreateThread(nullptr, 0, &Poster::run, hidden, 0, nullptr);
    ASSERT_NE(poster, nullptr);
    switchSystemProxyOn(window, window, threadPause);
    WaitForSingleObject(poster, INFINITE);
    CloseHandle(poster);

    EXPECT_EQ(window.rowCount(), 0);
    EXPECT_TRUE(key.holdsUsersProxy());
    gListToClear = nullptr;
    DestroyWindow(hidden);
    UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
}

TEST(WaitResponsive, ReturnsForEveryDuration) {
    ui::EventPump& pump = threadPump();
    EXPECT_TRUE(ui::WaitResponsive(pump, 0));
    EXPECT_TRUE(ui::WaitResponsive(pump, -1, ui::WaitUnit::Hours));
    EXPECT_TRUE(ui::WaitResponsive(pump, 20));
}

void pause(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

std::string clipboardText() { return actions::clipboardText(pause).value_or("(busy)"); }

TEST(Clipboard, ChineseTextRoundTrips) {
    const std::string text = "代理服务器:端口号";
    ASSERT_TRUE(setClipboardText(text, pause));
    EXPECT_EQ(clipboardText(), text);
    // Programs that read ANSI text get it from the system, in their code page.
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));

    MemoryWindow window;
    EXPECT_TRUE(pasteProxyText(window, window, clipboardText()));
    EXPECT_EQ(window.rows(), (std::vector<Row>{{"1", "代理服务器", "端口号", "", "", ""}}));
}

// Another program holds the clipboard open for a moment: it is waited for.
// Held for longer, both directions give up and say the clipboard is busy.
TEST(Clipboard, ABusyClipboardIsWaitedForBriefly) {
    // Opened for a window, as clipboard managers do.
    struct Holder {
        static DWORD WINAPI run(void* milliseconds) {
            HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         nullptr, nullptr);
            if (!OpenClipboard(owner)) return 1;
            Sleep(static_cast<DWORD>(reinterpret_cast<INT_PTR>(milliseconds)));
            CloseClipboard();
            DestroyWindow(owner);
            return 0;
        }
    };
    auto holdFor = [](INT_PTR milliseconds) {
        HANDLE holder = CreateThread(nullptr, 0, &Holder::run, reinterpret_cast<void*>(milliseconds), 0, nullptr);
        Sleep(30);
        return holder;
    };
    HANDLE holder = holdFor(150);
    EXPECT_TRUE(setClipboardText("127.0.0.1:8080", pause));
    WaitForSingleObject(holder, INFINITE);
    CloseHandle(holder);
    holder = holdFor(150);
    EXPECT_EQ(clipboardText(), "127.0.0.1:8080");
    WaitForSingleObject(holder, INFINITE);
    CloseHandle(holder);

    holder = holdFor(1500);
    EXPECT_FALSE(setClipboardText("127.0.0.1:1", pause));
    EXPECT_EQ(actions::clipboardText(pause), std::nullopt);
    WaitForSingleObject(holder, INFINITE);
    CloseHandle(holder);
    EXPECT_EQ(clipboardText(), "127.0.0.1:8080");
}

// Puts one block in the given format, as another program would.
void putClipboardBlock(UINT format, const void* bytes, SIZE_T size) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) GlobalFree(block);
    CloseClipboard();
}

TEST(Clipboard, ReadsWhatOtherProgramsPut) {
    const wchar_t unicode[] = L"\u4EE3\u7406:80";  // 代理:80
    putClipboardBlock(CF_UNICODETEXT, unicode, sizeof unicode);
    EXPECT_EQ(clipboardText(), "代理:80");

    const char ansi[] = "127.0.0.1:8080";
    putClipboardBlock(CF_TEXT, ansi, sizeof ansi);
    EXPECT_EQ(clipboardText(), "127.0.0.1:8080");

    // No terminating zero: the text ends with the block, or one character
    // earlier where the system terminates the block itself.
    const wchar_t unterminated[] = {L'1', L':', L'2', L'3'};
    putClipboardBlock(CF_UNICODETEXT, unterminated, sizeof unterminated);
    const std::string text = clipboardText();
    EXPECT_TRUE(text == "1:23" || text == "1:2") << text;

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(clipboardText(), "");
}

// A folder of its own under the temporary folder, named in Chinese and in
// Hangul: code page 936 cannot hold the Hangul part, so only a path that
// stays wide from the dialog to the file calls reaches it. Removed with its
// files at the end.
class ProxyFiles : public ::testing::Test {
protected:
    ProxyFiles() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::filesystem::path(temp) /
                  (L"\u4EE3\u7406\uD55C\uAE00" + std::to_wstring(GetCurrentProcessId()));  // 代理한글
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    ~ProxyFiles() override {
        for (const std::filesystem::path& file : files_) {
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }

    std::filesystem::path path(const std::wstring& name) {
        files_.push_back(folder_ / name);
        return files_.back();
    }

    static std::optional<std::string> contents(const std::filesystem::path& file) {
        HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
        std::string bytes(GetFileSize(handle, nullptr), '\0');
        DWORD got = 0;
        ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(handle);
        bytes.resize(got);
        return bytes;
    }

    static void importFrom(MemoryWindow& window, const std::filesystem::path& file) {
        window.scriptImport(file);
        importProxyFile(window, window, window, openFileForReading, runAtOnce);
    }

private:
    std::filesystem::path folder_;
    std::vector<std::filesystem::path> files_;
};

Row local(std::string number, std::string address, std::string port) {
    return {std::move(number), std::move(address), std::move(port), "", "", "本地"};
}

TEST_F(ProxyFiles, ReadOnlyFileImports) {
    const std::filesystem::path file = path(L"\u53EA\u8BFB.txt");  // 只读
    ASSERT_EQ(writeFileBytes(file, "1.2.3.4:8080\r\n\r\nabc\r\n5.6.7.8:3128", true), WriteResult::Written);
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    MemoryWindow window;
    importFrom(window, file);
    EXPECT_EQ(window.rows(),
              (std::vector<Row>{local("1", "1.2.3.4", "8080"), local("2", "5.6.7.8", "3128")}));
}

TEST_F(ProxyFiles, FileOpenForWritingElsewhereImports) {
    const std::filesystem::path file = path(L"open.txt");
    ASSERT_EQ(writeFileBytes(file, "1.2.3.4:8080\n", true), WriteResult::Written);
    HANDLE writer =
        CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    MemoryWindow window;
    importFrom(window, file);
    CloseHandle(writer);
    EXPECT_EQ(window.rows(), (std::vector<Row>{local("1", "1.2.3.4", "8080")}));
}

// Another program reads the file and lets nobody write it meanwhile.
TEST_F(ProxyFiles, FileLockedAgainstWritersImports) {
    const std::filesystem::path file = path(L"locked.txt");
    ASSERT_EQ(writeFileBytes(file, "1.2.3.4:8080\n", true), WriteResult::Written);
    HANDLE reader = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    MemoryWindow window;
    importFrom(window, file);
    CloseHandle(reader);
    EXPECT_EQ(window.rows(), (std::vector<Row>{local("1", "1.2.3.4", "8080")}));
}

TEST_F(ProxyFiles, AFileThatCannotBeOpenedLeavesTheListAndSaysSo) {
    MemoryWindow window;
    window.setRows({local("1", "9.9.9.9", "1")});
    importFrom(window, path(L"missing.txt"));
    const std::filesystem::path locked = path(L"locked-away.txt");
    ASSERT_EQ(writeFileBytes(locked, "1.2.3.4:8080\n", true), WriteResult::Written);
    HANDLE exclusive = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    importFrom(window, locked);
    CloseHandle(exclusive);
    EXPECT_EQ(window.rows(), std::vector<Row>{local("1", "9.9.9.9", "1")});
    EXPECT_EQ(window.messages(), (std::vector<fakes::ShownMessage>(2, {importUnreadableMessage()})));
}

TEST_F(ProxyFiles, ExportAppendsTxtAndReplacesOnlyAfterAYes) {
    const std::filesystem::path chosen = path(L"list.txt");
    const std::filesystem::path written = path(L"list.txt.txt");
    ASSERT_EQ(writeFileBytes(written, std::string(1000, 'x'), true), WriteResult::Written);
    MemoryWindow window;
    window.setRows(
        {{"1", "1.2.3.4", "8080", "成功", "极快", "全国"}, {"2", "5.6.7.8", "3128", "", "", ""}});
    window.scriptExport(chosen);
    exportProxyFile(window, window, window, writeFileBytes);
    EXPECT_EQ(contents(written), std::string(1000, 'x'));
    window.scriptReplace(true);
    exportProxyFile(window, window, window, writeFileBytes);
    EXPECT_EQ(window.replaceAsked(), (std::vector<std::filesystem::path>(2, written)));
    EXPECT_EQ(contents(chosen), std::nullopt);
    EXPECT_EQ(contents(written), "1.2.3.4:8080\r\n5.6.7.8:3128\r\n");

    MemoryWindow empty;
    const std::filesystem::path emptyFile = path(L"\u7A7A");  // 空
    path(L"\u7A7A.txt");
    empty.scriptExport(emptyFile);
    exportProxyFile(empty, empty, empty, writeFileBytes);
    EXPECT_EQ(contents(path(L"\u7A7A.txt")), "");
}

TEST_F(ProxyFiles, HundredThousandRowsGoOutAndComeBack) {
    std::vector<Row> rows;
    for (int i = 0; i < 100'000; ++i) {
        rows.push_back({std::to_string(i + 1),
                        "10.0." + std::to_string(i / 256 % 256) + "." + std::to_string(i % 256),
                        std::to_string(1000 + i % 50000), "", "", ""});
    }
    MemoryWindow source;
    source.setRows(rows);
    source.scriptExport(path(L"big"));
    exportProxyFile(source, source, source, writeFileBytes);

    MemoryWindow target;
    importFrom(target, path(L"big.txt"));
    const std::vector<Row> imported = target.rows();
    ASSERT_EQ(imported.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (imported[i] != local(rows[i][0], rows[i][1], rows[i][2])) {
            ADD_FAILURE() << "row " << i;
            break;
        }
    }
}

}  // namespace
}  // namespace velmora::actions
