// A window with the main window's kinds of controls, laid out the same way,
// to look at the skin. Usage: skin_preview [--skin] [--menu | --message]
//   --skin     writes the embedded jedata.dll and skin file into the
//              program's folder and attaches the skin
//   --menu     opens the list's pop-up menu after a moment
//   --message  shows a message box after a moment
//   --open     shows the open-file dialog after a moment
//   --drop     opens the port combo box's list after a moment
// The window stays until it is closed.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <cwchar>
#include <string>

#include "skin/skin_api.h"
#include "skin/skin_blobs.h"

namespace {

struct Control {
    const wchar_t* cls;
    const wchar_t* text;
    int parent;  // index into the table, -1 for the window
    int x, y, w, h;
    DWORD style;
    DWORD exStyle;
};

constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kLink = SS_LEFT | SS_NOTIFY;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP;

const Control kControls[] = {
    {L"Static", L"欢迎使用：本软件永久免费，提取的代理仅供学习测试使用。", -1, 0, 0, 728, 24, kLabel, 0},
    {L"Static", L"软件是永久免费提供分享 端口为主： 1998 18186 8080  9999  金钱不是问题。", -1, 8, 32, 464, 24, kLabel, 0},
    {WC_LISTVIEWW, L"", -1, 8, 64, 472, 264,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {L"Button", L"IP提取配置", -1, 8, 336, 352, 96, BS_GROUPBOX, 0},
    {L"Static", L"提取数量：", 3, 8, 24, 56, 24, kLabel, 0},
    {L"Edit", L"10", 3, 72, 24, 40, 24, kEdit, WS_EX_CLIENTEDGE},
    {L"Static", L"开头IP：", 3, 120, 24, 56, 24, kLabel, 0},
    {L"Edit", L"", 3, 168, 24, 56, 24, kEdit, WS_EX_CLIENTEDGE},
    {L"Static", L"运营商：", 3, 224, 24, 56, 24, kLabel, 0},
    {L"ComboBox", L"", 3, 272, 24, 58, 160, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 0},
    {L"Static", L"包含地区：", 3, 8, 64, 56, 24, kLabel, 0},
    {L"Edit", L"", 3, 72, 64, 40, 24, kEdit, WS_EX_CLIENTEDGE},
    {L"Static", L"选择端口：", 3, 112, 66, 56, 24, kLabel, 0},
    {L"ComboBox", L"", 3, 168, 64, 64, 160, CBS_DROPDOWN | WS_TABSTOP | WS_VSCROLL, 0},
    {L"Button", L"提取代理", 3, 240, 56, 96, 32, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {L"Button", L"返回结果", -1, 362, 336, 120, 144, BS_GROUPBOX, 0},
    {L"Static", L"累计成功：", 15, 8, 16, 56, 24, kLabel, 0},
    {L"Static", L"12个IP", 15, 68, 16, 48, 24, kLabel, 0},
    {L"Static", L"累计失败：", 15, 8, 48, 56, 24, kLabel, 0},
    {L"Static", L"3个IP", 15, 68, 48, 48, 24, kLabel, 0},
    {L"Static", L"查询的IP均为随机\r\n\r\n", 15, 7, 80, 104, 32, kLabel, 0},
    {L"Static", L"本地演示版", 15, 7, 112, 104, 24, kLabel, 0},
    {L"Button", L"友情链接", -1, 8, 432, 352, 48, BS_GROUPBOX, 0},
    {L"Static", L"免费IP提取", 22, 16, 16, 96, 24, kLink, WS_EX_TRANSPARENT},
    {L"Static", L"交流论坛", 22, 120, 16, 96, 24, kLink, WS_EX_TRANSPARENT},
    {L"Static", L"官方主页", 22, 224, 16, 96, 24, kLink, WS_EX_TRANSPARENT},
};
constexpr int kListIndex = 2;
constexpr int kCarrierIndex = 9;
constexpr int kPortIndex = 13;

HWND g_controls[std::size(kControls)];
HWND g_status;
HMENU g_menu;

void fillList(HWND list) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    SendMessageW(list, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    const struct { const wchar_t* caption; int width; int format; } columns[] = {
        {L"序号", 40, LVCFMT_LEFT}, {L"代理IP", 180, LVCFMT_CENTER}, {L"端口", 50, LVCFMT_CENTER},
        {L"验证", 60, LVCFMT_CENTER}, {L"网速", 60, LVCFMT_CENTER}, {L"地区", 60, LVCFMT_CENTER},
    };
    for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.fmt = columns[i].format;
        col.cx = columns[i].width;
        col.pszText = const_cast<wchar_t*>(columns[i].caption);
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
    const wchar_t* rows[][6] = {
        {L"1", L"127.0.0.2", L"18190", L"成功", L"极快", L"全国"},
        {L"2", L"127.0.0.3", L"18191", L"失败", L"无效", L"全国"},
        {L"3", L"127.0.0.1", L"18199", L"", L"", L"本地"},
        {L"4", L"127.10.20.30", L"8080", L"成功", L"普通", L"电信"},
        {L"5", L"127.44.5.6", L"3128", L"", L"", L"联通"},
    };
    for (int r = 0; r < static_cast<int>(std::size(rows)); ++r) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<wchar_t*>(rows[r][0]);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < 6; ++c) {
            item.iSubItem = c;
            item.pszText = const_cast<wchar_t*>(rows[r][c]);
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
        }
    }
    LVITEMW select{};
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
}

void fillCombos() {
    for (const wchar_t* item : {L"", L"电信", L"联通", L"移动"}) {
        SendMessageW(g_controls[kCarrierIndex], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageW(g_controls[kCarrierIndex], CB_SETCURSEL, 1, 0);
    for (const wchar_t* item : {L"18186", L"1998", L"9999", L"8080", L"3128", L"80", L""}) {
        SendMessageW(g_controls[kPortIndex], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SetWindowTextW(g_controls[kPortIndex], L"8080");
}

void createControls(HWND window) {
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        const Control& c = kControls[i];
        const HWND parent = c.parent < 0 ? window : g_controls[c.parent];
        g_controls[i] = CreateWindowExW(c.exStyle, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y,
                                        c.w, c.h, parent, reinterpret_cast<HMENU>(1000 + i), nullptr, nullptr);
        SendMessageW(g_controls[i], WM_SETFONT, font, FALSE);
    }
    g_status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                               reinterpret_cast<HMENU>(1100), nullptr, nullptr);
    SendMessageW(g_status, WM_SETFONT, font, FALSE);
    int parts[] = {118, 618};
    SendMessageW(g_status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageW(g_status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"软件提取状态：正常             "));
    SendMessageW(g_status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"本地演示服务：127.0.0.1"));
    fillList(g_controls[kListIndex]);
    fillCombos();
}

void buildMenu() {
    g_menu = CreatePopupMenu();
    const wchar_t* items[] = {L"复制代理", L"粘贴代理", L"设置代理", L"取消代理", nullptr,
                              L"验证选中", L"验证全部", L"停止验证", nullptr,
                              L"清除无效", L"清除全部", nullptr, L"导入代理", L"导出代理"};
    UINT id = 2001;
    for (const wchar_t* item : items) {
        AppendMenuW(g_menu, item ? MF_STRING : MF_SEPARATOR, item ? id++ : 0, item);
    }
}

// A file still in use by a running preview is used as it is.
void writeFile(const std::wstring& path, const unsigned char* data, std::size_t size) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(f);
}

bool attachSkin() {
    wchar_t folder[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    *wcsrchr(folder, L'\\') = 0;
    const std::wstring dll = std::wstring(folder) + L"\\jedata.dll";
    const std::wstring skin = std::wstring(folder) + L"\\preview.she";
    writeFile(dll, velmora::skin::kSkinLibraryData, velmora::skin::kSkinLibrarySize);
    writeFile(skin, velmora::skin::kSkinFileData, velmora::skin::kSkinFileSize);
    HMODULE library = LoadLibraryW(dll.c_str());
    auto attach = library ? reinterpret_cast<SkinAttachExFn*>(
                                reinterpret_cast<void*>(GetProcAddress(library, "SkinAttachEx")))
                          : nullptr;
    if (!attach) return false;
    char ansi[MAX_PATH * 2];
    WideCharToMultiByte(936, 0, skin.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
    return attach(ansi, "") == 1;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            KillTimer(window, wParam);
            if (wParam == 1) {
                RECT r;
                GetWindowRect(g_controls[kListIndex], &r);
                TrackPopupMenu(g_menu, TPM_RIGHTBUTTON, r.left + 160, r.top + 70, 0, window, nullptr);
            } else if (wParam == 2) {
                MessageBoxW(window, L"请选择需要校验的IP地址", L"信息：", MB_OK | MB_TASKMODAL);
            } else if (wParam == 3) {
                wchar_t file[MAX_PATH] = {};
                OPENFILENAMEW ofn{};
                ofn.lStructSize = sizeof ofn;
                ofn.hwndOwner = window;
                ofn.lpstrFilter = L"代理文本(*.txt)\0*.txt\0";
                ofn.lpstrFile = file;
                ofn.nMaxFile = MAX_PATH;
                ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
                GetOpenFileNameW(&ofn);
            } else {
                SetFocus(g_controls[kPortIndex]);
                SendMessageW(g_controls[kPortIndex], CB_SHOWDROPDOWN, TRUE, 0);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"VelmoraSkinPreview";
    RegisterClassW(&wc);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - 485) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - 524) / 2;
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"[演示] Velmora永久免费高效率v3.0",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y, 485, 524,
                                  nullptr, nullptr, instance, nullptr);
    createControls(window);
    buildMenu();
    const bool skin = wcsstr(commandLine, L"--skin") != nullptr;
    if (skin && !attachSkin()) MessageBoxW(nullptr, L"皮肤未能加载", L"信息：", MB_OK);
    ShowWindow(window, SW_SHOW);
    SetFocus(g_controls[kListIndex]);
    if (wcsstr(commandLine, L"--menu")) SetTimer(window, 1, 800, nullptr);
    if (wcsstr(commandLine, L"--message")) SetTimer(window, 2, 800, nullptr);
    if (wcsstr(commandLine, L"--open")) SetTimer(window, 3, 800, nullptr);
    if (wcsstr(commandLine, L"--drop")) SetTimer(window, 4, 800, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
