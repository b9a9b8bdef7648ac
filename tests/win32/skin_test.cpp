// The skin library as the program uses it: written out from the embedded
// block, loaded, attached to a window with the main window's kinds of
// window; and the file steps of LoadSkin.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "app/skin_loader_win.h"
#include "skin/skin_api.h"
#include "skin/skin_blobs.h"
#include "skin/skin_format.h"

namespace velmora::skin {
namespace {

using Bytes = std::vector<unsigned char>;

std::span<const unsigned char> libraryBlock() { return {kSkinLibraryData, kSkinLibrarySize}; }
std::span<const unsigned char> skinBlock() { return {kSkinFileData, kSkinFileSize}; }

std::string toAnsi(const std::wstring& wide) {
    const int n = WideCharToMultiByte(936, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(936, 0, wide.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.resize(out.empty() ? 0 : out.size() - 1);
    return out;
}

Bytes readFile(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    Bytes data(GetFileSize(f, nullptr));
    DWORD got = 0;
    if (!data.empty()) ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    CloseHandle(f);
    data.resize(got);
    return data;
}

// A folder of its own for each test, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + L"velmora-skin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"-皮肤";
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring file = path_ + L"\\" + found.cFileName;
                SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(file.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

struct TestWindow {
    HWND top = nullptr, group = nullptr, label = nullptr, link = nullptr, edit = nullptr;
    HWND pickList = nullptr, editCombo = nullptr, button = nullptr, list = nullptr, status = nullptr;
    HFONT programFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

    TestWindow() {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        top = CreateWindowExW(0, L"#32770", L"skin test", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 485,
                              524, nullptr, nullptr, nullptr, nullptr);
        list = child(top, WC_LISTVIEWW, L"", 8, 64, 472, 200, LVS_REPORT | LVS_SINGLESEL, WS_EX_CLIENTEDGE);
        group = child(top, L"Button", L"IP提取配置", 8, 336, 352, 96, BS_GROUPBOX);
        label = child(group, L"Static", L"提取数量：", 8, 24, 56, 24, SS_LEFT);
        link = child(group, L"Static", L"交流论坛", 8, 64, 56, 24, SS_LEFT | SS_NOTIFY);
        edit = child(group, L"Edit", L"10", 72, 24, 40, 24, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
        pickList = child(group, L"ComboBox", L"", 120, 24, 58, 160, CBS_DROPDOWNLIST);
        editCombo = child(group, L"ComboBox", L"", 190, 24, 64, 160, CBS_DROPDOWN);
        button = child(group, L"Button", L"OK", 240, 56, 100, 32, BS_PUSHBUTTON);
        status = child(top, STATUSCLASSNAMEW, L"", 0, 0, 0, 0, 0);
        int parts[] = {118, -1};
        SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
        for (const wchar_t* caption : {L"序号", L"代理IP"}) {
            LVCOLUMNW col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.cx = 100;
            col.pszText = const_cast<wchar_t*>(caption);
            SendMessageW(list, LVM_INSERTCOLUMNW, 9, reinterpret_cast<LPARAM>(&col));
        }
        for (int i = 0; i < 3; ++i) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<wchar_t*>(L"1");
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
        SendMessageW(pickList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"电信"));
        ShowWindow(top, SW_SHOWNOACTIVATE);
    }
    ~TestWindow() { DestroyWindow(top); }

    HWND child(HWND parent, const wchar_t* cls, const wchar_t* text, int x, int y, int w, int h, DWORD style,
               DWORD ex = 0) {
        HWND c = CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                                 nullptr, nullptr);
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(programFont), FALSE);
        return c;
    }
    std::vector<HWND> window() const {
        return {top, group, label, link, edit, pickList, editCombo, button, list, status, header()};
    }
    HWND header() const { return reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)); }
};

void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// What the control paints through WM_PRINTCLIENT at (x, y).
COLORREF printedPixel(HWND window, int x, int y) {
    RECT rc;
    GetClientRect(window, &rc);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &rc, magenta);
    DeleteObject(magenta);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const COLORREF pixel = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixel;
}

COLORREF ref(Rgb c) { return RGB(c.r, c.g, c.b); }

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceInstalled(const std::string& utf8) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, query.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

template <typename Fn>
Fn* function(HMODULE library, const char* name) {
    return reinterpret_cast<Fn*>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

class SkinLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        // Windows need Wine's display driver; without a display there is
        // nothing to skin.
        HWND probe = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (!probe) GTEST_SKIP() << "no display to create windows on";
        DestroyWindow(probe);
        ASSERT_TRUE(app::writeWholeFile(folder.file(L"jedata.dll"), libraryBlock()));
        ASSERT_TRUE(app::writeWholeFile(folder.file(L"皮肤.she"), skinBlock()));
        library = LoadLibraryW(folder.file(L"jedata.dll").c_str());
        ASSERT_NE(library, nullptr);
        attach = function<SkinAttachExFn>(library, "SkinAttachEx");
        detach = function<SkinDetachFn>(library, "SkinDetach");
        isAttached = function<SkinIsAttachedFn>(library, "SkinIsAttached");
        isSkinned = function<SkinIsWindowSkinnedFn>(library, "SkinIsWindowSkinned");
        ASSERT_TRUE(attach && detach && isAttached && isSkinned);
        const SkinParseResult parsed = parseSkin(skinBlock());
        ASSERT_TRUE(parsed.ok()) << skinErrorName(parsed.error) << " " << parsed.detail;
        palette = parsed.skin.palette;
        for (const std::string& face : parsed.skin.fontFaces) skinFaceInstalled |= faceInstalled(face);
    }
    void TearDown() override {
        if (detach) detach();
        if (library) FreeLibrary(library);
    }

    int attachFile(const std::wstring& path) { return attach(toAnsi(path).c_str(), ""); }
    int attachBytes(const Bytes& bytes) {
        const std::wstring path = folder.file(L"other.she");
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(app::writeWholeFile(path, bytes) || bytes.empty());
        return attachFile(path);
    }

    TempFolder folder;
    HMODULE library = nullptr;
    SkinAttachExFn* attach = nullptr;
    SkinDetachFn* detach = nullptr;
    SkinIsAttachedFn* isAttached = nullptr;
    SkinIsWindowSkinnedFn* isSkinned = nullptr;
    SkinPalette palette;
    bool skinFaceInstalled = false;
};

TEST(SkinBlocks, AreALibraryAndAValidSkinFile) {
    ASSERT_GT(kSkinLibrarySize, 2u);
    EXPECT_EQ(kSkinLibraryData[0], 'M');
    EXPECT_EQ(kSkinLibraryData[1], 'Z');
    ASSERT_GT(kSkinFileSize, 5u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(kSkinFileData), 5), std::string(".SHE\0", 5));
    const SkinParseResult parsed = parseSkin(skinBlock());
    EXPECT_TRUE(parsed.ok()) << skinErrorName(parsed.error) << " " << parsed.detail;
}

TEST_F(SkinLibrary, AttachesToEveryKindOfControl) {
    TestWindow w;
    EXPECT_EQ(isAttached(), 0);
    ASSERT_EQ(attachFile(folder.file(L"皮肤.she")), 1);
    EXPECT_EQ(isAttached(), 1);
    for (HWND control : w.window()) EXPECT_EQ(isSkinned(control), 1) << control;
    UpdateWindow(w.top);
    pumpMessages();

    EXPECT_EQ(printedPixel(w.button, 6, 16), ref(palette.buttonFace));
    EXPECT_EQ(printedPixel(w.status, 60, 2), ref(palette.statusBack));
    EXPECT_EQ(printedPixel(w.header(), 1, 1), ref(palette.headerBack));
    EXPECT_EQ(printedPixel(w.group, 340, 90), ref(palette.groupBack));
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(w.list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    EXPECT_EQ(printedPixel(w.list, 60, (row.top + row.bottom) / 2), ref(palette.listAltBack));
}

TEST_F(SkinLibrary, ColoursControlsThroughTheirContainer) {
    TestWindow w;
    ASSERT_EQ(attachFile(folder.file(L"皮肤.she")), 1);
    HDC dc = CreateCompatibleDC(nullptr);
    const struct {
        UINT message;
        HWND control;
        COLORREF text;
    } cases[] = {
        {WM_CTLCOLORSTATIC, w.label, ref(palette.labelText)},
        {WM_CTLCOLORSTATIC, w.link, ref(palette.linkText)},
        {WM_CTLCOLOREDIT, w.edit, ref(palette.editText)},
    };
    for (const auto& c : cases) {
        const auto brush = SendMessageW(w.group, c.message, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(c.control));
        EXPECT_NE(brush, 0);
        EXPECT_EQ(GetTextColor(dc), c.text);
    }
    DeleteDC(dc);
}

TEST_F(SkinLibrary, FollowsWindowsCreatedLater) {
    TestWindow w;
    ASSERT_EQ(attachFile(folder.file(L"皮肤.she")), 1);
    HWND edit = w.child(w.group, L"Edit", L"", 8, 8, 40, 20, 0, WS_EX_CLIENTEDGE);
    EXPECT_EQ(isSkinned(edit), 1);
    HWND dialog = CreateWindowExW(0, L"#32770", L"later", WS_POPUP | WS_CAPTION, 0, 0, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND ok = CreateWindowExW(0, L"Button", L"OK", WS_CHILD | BS_DEFPUSHBUTTON, 8, 8, 60, 24, dialog, nullptr,
                              nullptr, nullptr);
    EXPECT_EQ(isSkinned(dialog), 1);
    EXPECT_EQ(isSkinned(ok), 1);
    // The skin's font goes to the windows it found at attach time, also to
    // their later window; a dialog made later keeps the font it is given.
    SendMessageW(ok, WM_SETFONT, reinterpret_cast<WPARAM>(w.programFont), FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(ok, WM_GETFONT, 0, 0)), w.programFont);
    if (skinFaceInstalled) {
        EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), w.programFont);
        EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(w.label, WM_GETFONT, 0, 0)), w.programFont);
    }
    DestroyWindow(dialog);
    DestroyWindow(edit);
    EXPECT_EQ(isSkinned(ok), 0);  // forgotten with the window
    EXPECT_EQ(isSkinned(edit), 0);
}

TEST_F(SkinLibrary, DetachGivesTheStandardLookAndFontsBack) {
    TestWindow w;
    ASSERT_EQ(attachFile(folder.file(L"皮肤.she")), 1);
    SendMessageW(w.label, WM_SETFONT, reinterpret_cast<WPARAM>(w.programFont), FALSE);
    EXPECT_EQ(detach(), 1);
    EXPECT_EQ(isAttached(), 0);
    for (HWND control : w.window()) EXPECT_EQ(isSkinned(control), 0);
    for (HWND control : {w.label, w.link, w.edit, w.button}) {
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), w.programFont);
    }
    EXPECT_EQ(detach(), 0);
    UpdateWindow(w.top);
    pumpMessages();
}

// A procedure put on top of a skinned window after the skin, as a program's
// own subclass would be.
WNDPROC gBeneath = nullptr;
int gOnTop = 0;
LRESULT CALLBACK countingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++gOnTop;
    return CallWindowProcW(gBeneath, window, message, wParam, lParam);
}

TEST_F(SkinLibrary, DetachLeavesEveryWindowProcedureWorking) {
    TestWindow w;
    std::vector<std::pair<HWND, LONG_PTR>> before;
    for (HWND control : w.window()) before.emplace_back(control, GetWindowLongPtrW(control, GWLP_WNDPROC));
    ASSERT_EQ(attachFile(folder.file(L"皮肤.she")), 1);
    gBeneath = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(w.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countingProcedure)));
    EXPECT_EQ(detach(), 1);
    for (const auto& [control, procedure] : before) {
        if (control == w.edit) continue;
        EXPECT_EQ(GetWindowLongPtrW(control, GWLP_WNDPROC), procedure) << control;
    }
    // Covered by another procedure, the skin's stays beneath it and passes
    // every message on to the edit's own.
    gOnTop = 0;
    SetWindowTextW(w.edit, L"42");
    wchar_t text[8] = {};
    GetWindowTextW(w.edit, text, 8);
    EXPECT_STREQ(text, L"42");
    EXPECT_GT(gOnTop, 0);
    UpdateWindow(w.top);
    pumpMessages();
    // Attached again, the skin draws the covered window again.
    ASSERT_EQ(attachFile(folder.file(L"皮肤.she")), 1);
    EXPECT_EQ(isSkinned(w.edit), 1);
    EXPECT_EQ(detach(), 1);
}

TEST_F(SkinLibrary, InvalidFilesAttachNothing) {
    const Bytes good(skinBlock().begin(), skinBlock().end());
    Bytes flipped = good;
    flipped[good.size() / 2] ^= 0x20;
    Bytes badMagic = good;
    badMagic[4] = 'X';
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"header only", Bytes(good.begin(), good.begin() + 16)},
        {"half", Bytes(good.begin(), good.begin() + static_cast<long>(good.size() / 2))},
        {"one byte short", Bytes(good.begin(), good.end() - 1)},
        {"a flipped bit", flipped},
        {"bad magic", badMagic},
        {"a library, not a skin", Bytes(libraryBlock().begin(), libraryBlock().begin() + 4096)},
    };
    TestWindow w;
    for (const auto& c : cases) {
        EXPECT_EQ(attachBytes(c.bytes), 0) << c.what;
        EXPECT_EQ(isAttached(), 0) << c.what;
        for (HWND control : w.window()) EXPECT_EQ(isSkinned(control), 0) << c.what;
    }
    EXPECT_EQ(attachFile(folder.file(L"missing.she")), 0);
    EXPECT_EQ(attachFile(folder.path()), 0);  // a folder
    EXPECT_EQ(attach(nullptr, nullptr), 0);
    EXPECT_EQ(isAttached(), 0);
}

TEST_F(SkinLibrary, AnInvalidFileKeepsTheSkinAttachedBefore) {
    TestWindow w;
    ASSERT_EQ(attachFile(folder.file(L"皮肤.she")), 1);
    EXPECT_EQ(attachBytes(Bytes(skinBlock().begin(), skinBlock().end() - 3)), 0);
    EXPECT_EQ(isAttached(), 1);
    EXPECT_EQ(isSkinned(w.button), 1);
    // Attaching a valid file again replaces the skin and keeps the fonts
    // the program set.
    ASSERT_EQ(attachFile(folder.file(L"皮肤.she")), 1);
    EXPECT_EQ(isSkinned(w.button), 1);
    EXPECT_EQ(detach(), 1);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(w.label, WM_GETFONT, 0, 0)), w.programFont);
}

TEST_F(SkinLibrary, PopupMenuIsDrawnAndGivenBackUnchanged) {
    TestWindow w;
    ASSERT_EQ(attachFile(folder.file(L"皮肤.she")), 1);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 2001, L"复制代理");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 2002, L"导出代理");
    MENUITEMINFOW data{};
    data.cbSize = sizeof data;
    data.fMask = MIIM_DATA;
    data.dwItemData = 1234;
    SetMenuItemInfoW(menu, 2, TRUE, &data);

    SendMessageW(w.top, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = 2001;
    measure.itemData = info.dwItemData;
    EXPECT_EQ(SendMessageW(w.top, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
    EXPECT_GE(measure.itemHeight, 20u);
    EXPECT_GT(measure.itemWidth, 40u);

    SendMessageW(w.top, WM_EXITMENULOOP, TRUE, 0);
    for (UINT i = 0; i < 3; ++i) {
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
        EXPECT_FALSE(info.fType & MFT_OWNERDRAW) << i;
    }
    EXPECT_EQ(info.dwItemData, 1234u);
    wchar_t text[32] = {};
    GetMenuStringW(menu, 2002, text, 32, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), L"导出代理");
    DestroyMenu(menu);
}

TEST(SkinFiles, RewritesAHiddenSystemFile) {
    TempFolder folder;
    const std::wstring path = folder.file(L"皮肤.she");
    ASSERT_TRUE(app::writeWholeFile(path, skinBlock()));
    ASSERT_TRUE(app::setFileAttributes(path, app::kHiddenSystem));
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & 7, app::kHiddenSystem);
    // The second start: the system refuses a plain re-create of this file.
    const Bytes other = {'.', 'S', 'H', 'E', 0, 9};
    EXPECT_TRUE(app::writeWholeFile(path, other));
    EXPECT_EQ(readFile(path), other);
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & 6, app::kHiddenSystem);
}

TEST(SkinFiles, AFileInUseIsLeftAsItIs) {
    TempFolder folder;
    const std::wstring path = folder.file(L"jedata.dll");
    ASSERT_TRUE(app::writeWholeFile(path, libraryBlock()));
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(app::writeWholeFile(path, skinBlock()));
    CloseHandle(held);
    EXPECT_EQ(readFile(path), Bytes(libraryBlock().begin(), libraryBlock().end()));
}

TEST(SkinFiles, OnlyTheFourAttributeBitsPass) {
    TempFolder folder;
    const std::wstring path = folder.file(L"a.she");
    ASSERT_TRUE(app::writeWholeFile(path, skinBlock()));
    ASSERT_TRUE(app::setFileAttributes(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_OFFLINE));
    const DWORD attributes = GetFileAttributesW(path.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_OFFLINE);
    EXPECT_TRUE(app::setFileAttributes(path, 0));
    EXPECT_FALSE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST(SkinFiles, PathsFollowTheCurrentDirectory) {
    TempFolder folder;
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
    const std::wstring inFolder = app::inCurrentDirectory(L"皮肤.she");
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
    const std::wstring inRoot = app::inCurrentDirectory(L"jedata.dll");
    SetCurrentDirectoryW(before);
    EXPECT_EQ(lstrcmpiW(inFolder.c_str(), folder.file(L"皮肤.she").c_str()), 0) << inFolder;
    EXPECT_EQ(lstrcmpiW(inRoot.c_str(), L"C:\\jedata.dll"), 0) << inRoot;
}

}  // namespace
}  // namespace velmora::skin
