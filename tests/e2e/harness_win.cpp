#include "harness_win.h"

#include <commctrl.h>
#include <wininet.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "ui/ids.h"
#include "ui/layout.h"

namespace e2e {

namespace {

constexpr wchar_t kMainClass[] = L"VelmoraMainWindow";

std::wstring widen(const char* utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
    return out;
}

}  // namespace

// The build passes Unix paths; Wine maps the Unix root to drive Z:.
std::filesystem::path fromBuildPath(const char* unixPath) {
    std::wstring path = widen(unixPath);
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& ch : path) {
            if (ch == L'/') ch = L'\\';
        }
        path = L"Z:" + path;
    }
    return std::filesystem::path(path);
}

namespace {

std::filesystem::path artifactsFolder() {
    std::filesystem::path folder = fromBuildPath(VELMORA_ARTIFACTS);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

// Memory inside the program's process, for the control messages whose
// pointers Windows does not carry across processes.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, std::size_t size)
        : process_(process),
          size_(size),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool valid() const { return address_ != nullptr; }
    char* at(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool write(std::size_t offset, const void* data, std::size_t n) const {
        return offset + n <= size_ &&
               WriteProcessMemory(process_, at(offset), data, n, nullptr) != FALSE;
    }
    bool read(std::size_t offset, void* data, std::size_t n) const {
        return offset + n <= size_ &&
               ReadProcessMemory(process_, at(offset), data, n, nullptr) != FALSE;
    }

private:
    HANDLE process_;
    std::size_t size_;
    void* address_;
};

constexpr std::size_t kTextUnits = 8192;

std::wstring readRemoteText(const RemoteBuffer& buffer, std::size_t offset) {
    std::wstring text(kTextUnits, L'\0');
    buffer.read(offset, text.data(), kTextUnits * sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), kTextUnits));
    return text;
}

struct FindContext {
    DWORD processId;
    const wchar_t* className;  // null: any class except the main window's
    HWND found;
};

BOOL CALLBACK findTopLevel(HWND window, LPARAM parameter) {
    auto* ctx = reinterpret_cast<FindContext*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != ctx->processId || !IsWindowVisible(window)) return TRUE;
    const std::wstring cls = className(window);
    const bool match = ctx->className != nullptr ? cls == ctx->className : cls != kMainClass;
    if (!match) return TRUE;
    ctx->found = window;
    return FALSE;
}

HWND findWindowOf(DWORD processId, const wchar_t* cls) {
    FindContext ctx{processId, cls, nullptr};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

struct ChildContext {
    int id;
    HWND found;
};

BOOL CALLBACK findChild(HWND window, LPARAM parameter) {
    auto* ctx = reinterpret_cast<ChildContext*>(parameter);
    if (GetDlgCtrlID(window) == ctx->id) {
        ctx->found = window;
        return FALSE;
    }
    return TRUE;
}

// The pixels of a part of the screen, row by row.
std::vector<std::uint32_t> capture(const RECT& r) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    std::vector<std::uint32_t> pixels;
    if (width <= 0 || height <= 0) return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        SelectObject(memory, old);
        const auto* first = static_cast<const std::uint32_t*>(bits);
        pixels.assign(first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A part of the screen saved as a picture (24-bit BMP) in the artifacts folder.
void saveBitmap(const RECT& r, const std::wstring& name) {
    const std::vector<std::uint32_t> pixels = capture(r);
    if (pixels.empty()) return;
    const auto width = static_cast<std::size_t>(r.right - r.left);
    const std::size_t stride = (width * 3 + 3) & ~std::size_t{3};
    std::string image(stride * (pixels.size() / width), '\0');
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        char* at = image.data() + (i / width) * stride + (i % width) * 3;
        std::memcpy(at, &pixels[i], 3);  // blue, green, red
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = r.right - r.left;
    header.biHeight = -(r.bottom - r.top);  // top-down, as captured
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(image.size());
    std::ofstream out(artifactsFolder() / (name + L".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(image.data(), static_cast<std::streamsize>(image.size()));
}

}  // namespace

std::filesystem::path builtProgram() { return fromBuildPath(VELMORA_EXE); }

TempFolder::TempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::filesystem::path(temp) /
            (L"velmora-e2e-" + name + L"-" + std::to_wstring(GetCurrentProcessId()));
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    std::filesystem::create_directories(path_, ec);
}

TempFolder::~TempFolder() {
    // Files the program wrote may carry the read-only, hidden or system
    // attribute; clear them so that the folder can go.
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path installProgram(const std::filesystem::path& folder) {
    const std::filesystem::path target = folder / L"Velmora.exe";
    std::error_code ec;
    std::filesystem::copy_file(builtProgram(), target,
                               std::filesystem::copy_options::overwrite_existing, ec);
    return target;
}

App::App(std::filesystem::path program, std::filesystem::path workingFolder) {
    if (program.empty()) program = builtProgram();
    if (workingFolder.empty()) workingFolder = program.parent_path();
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.c_str(), &startup, &process_)) {
        std::fprintf(stderr, "App: %ls did not start (error %lu)\n", program.c_str(), GetLastError());
        process_ = {};
        return;
    }
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (window_ == nullptr && std::chrono::steady_clock::now() < end) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process_.hProcess, &code);
            std::fprintf(stderr, "App: the program ended at start (exit code %lu)\n", code);
            break;
        }
        // A start that fails shows its fatal message instead of the window,
        // on its main thread. (A process id is soon used again; a thread of
        // this very process is what tells.)
        if (HWND box = findWindowOf(process_.dwProcessId, L"#32770");
            box != nullptr && GetWindowThreadProcessId(box, nullptr) == process_.dwThreadId) {
            std::fprintf(stderr, "App: the program showed a message at start\n");
            break;
        }
        if (HWND main = findWindowOf(process_.dwProcessId, kMainClass);
            main != nullptr && GetWindowThreadProcessId(main, nullptr) == process_.dwThreadId) {
            window_ = main;
        }
        if (window_ == nullptr) Sleep(50);
    }
}

App::~App() {
    if (process_.hProcess != nullptr) {
        if (!ended_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

HWND App::control(int id) const {
    if (window_ == nullptr) return nullptr;
    ChildContext ctx{id, nullptr};
    EnumChildWindows(window_, findChild, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

std::wstring App::text(HWND window) const {
    if (window == nullptr) return {};
    // WM_GETTEXT is carried across processes by the system.
    std::wstring buffer(65536, L'\0');
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL, 10000, &n)) {
        return {};
    }
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
}

void App::setText(int id, const std::wstring& value) const {
    SendMessageW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

int App::rowCount() const {
    return static_cast<int>(SendMessageW(control(velmora::ui::kProxyList), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring App::cell(int row, int column) const {
    RemoteBuffer buffer(process_.hProcess, sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t));
    if (!buffer.valid()) return {};
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(kTextUnits);
    item.pszText = reinterpret_cast<LPWSTR>(buffer.at(sizeof(LVITEMW)));
    const wchar_t zero = 0;
    buffer.write(sizeof(LVITEMW), &zero, sizeof zero);
    buffer.write(0, &item, sizeof item);
    SendMessageW(control(velmora::ui::kProxyList), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(buffer.at(0)));
    return readRemoteText(buffer, sizeof(LVITEMW));
}

std::vector<std::vector<std::wstring>> App::rows() const {
    std::vector<std::vector<std::wstring>> all;
    const int n = rowCount();
    for (int r = 0; r < n; ++r) {
        std::vector<std::wstring> row;
        for (int c = 0; c < 6; ++c) row.push_back(cell(r, c));
        all.push_back(std::move(row));
    }
    return all;
}

int App::selectedRow() const {
    return static_cast<int>(SendMessageW(control(velmora::ui::kProxyList), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         MAKELPARAM(LVNI_SELECTED, 0)));
}

void App::selectRow(int row) const {
    RemoteBuffer buffer(process_.hProcess, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = row < 0 ? 0 : (LVIS_SELECTED | LVIS_FOCUSED);
    buffer.write(0, &item, sizeof item);
    SendMessageW(control(velmora::ui::kProxyList), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(buffer.at(0)));
}

namespace {

LVCOLUMNW readColumn(HANDLE process, HWND list, int column, std::wstring* caption) {
    RemoteBuffer buffer(process, sizeof(LVCOLUMNW) + kTextUnits * sizeof(wchar_t));
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.cchTextMax = static_cast<int>(kTextUnits);
    col.pszText = reinterpret_cast<LPWSTR>(buffer.at(sizeof(LVCOLUMNW)));
    const wchar_t zero = 0;
    buffer.write(sizeof(LVCOLUMNW), &zero, sizeof zero);
    buffer.write(0, &col, sizeof col);
    if (!SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                      reinterpret_cast<LPARAM>(buffer.at(0)))) {
        return {};
    }
    LVCOLUMNW result{};
    buffer.read(0, &result, sizeof result);
    if (caption != nullptr) *caption = readRemoteText(buffer, sizeof(LVCOLUMNW));
    return result;
}

}  // namespace

std::wstring App::columnCaption(int column) const {
    std::wstring caption;
    readColumn(process_.hProcess, control(velmora::ui::kProxyList), column, &caption);
    return caption;
}

int App::columnWidth(int column) const {
    return readColumn(process_.hProcess, control(velmora::ui::kProxyList), column, nullptr).cx;
}

int App::columnFormat(int column) const {
    return readColumn(process_.hProcess, control(velmora::ui::kProxyList), column, nullptr).fmt & LVCFMT_JUSTIFYMASK;
}

std::wstring App::statusText(int panel) const {
    HWND bar = control(velmora::ui::kStatusBar);
    const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0));
    RemoteBuffer buffer(process_.hProcess, (static_cast<std::size_t>(length) + 1) * sizeof(wchar_t) +
                                               kTextUnits * sizeof(wchar_t));
    const wchar_t zero = 0;
    buffer.write(0, &zero, sizeof zero);
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(buffer.at(0)));
    return readRemoteText(buffer, 0);
}

std::vector<int> App::statusEdges() const {
    HWND bar = control(velmora::ui::kStatusBar);
    const int parts = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0));
    if (parts <= 0) return {};
    RemoteBuffer buffer(process_.hProcess, sizeof(int) * static_cast<std::size_t>(parts));
    SendMessageW(bar, SB_GETPARTS, static_cast<WPARAM>(parts),
                 reinterpret_cast<LPARAM>(buffer.at(0)));
    std::vector<int> edges(static_cast<std::size_t>(parts));
    buffer.read(0, edges.data(), edges.size() * sizeof(int));
    return edges;
}

int App::textWidth(const std::wstring& text) const {
    RemoteBuffer buffer(process_.hProcess, (text.size() + 1) * sizeof(wchar_t));
    if (!buffer.valid() || !buffer.write(0, text.c_str(), (text.size() + 1) * sizeof(wchar_t))) return -1;
    return static_cast<int>(SendMessageW(control(velmora::ui::kProxyList), LVM_GETSTRINGWIDTHW, 0,
                                         reinterpret_cast<LPARAM>(buffer.at(0))));
}

int App::lineHeight(int editId) const {
    // EM_GETRECT is below WM_USER: the system carries the rectangle back.
    RECT r{};
    SendMessageW(control(editId), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return static_cast<int>(r.bottom - r.top);
}

bool App::changeDpi(int dpi) const {
    constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE
    RECT now{};
    GetWindowRect(window_, &now);
    SIZE size{now.right - now.left, now.bottom - now.top};
    RemoteBuffer buffer(process_.hProcess, sizeof(RECT));
    if (!buffer.valid() || !buffer.write(0, &size, sizeof size)) return false;
    DWORD_PTR answered = 0;
    if (SendMessageTimeoutW(window_, kGetDpiScaledSize, static_cast<WPARAM>(dpi),
                            reinterpret_cast<LPARAM>(buffer.at(0)), SMTO_NORMAL, 10000, &answered) &&
        answered) {
        buffer.read(0, &size, sizeof size);
    }
    const RECT suggested{now.left, now.top, now.left + size.cx, now.top + size.cy};
    if (!buffer.write(0, &suggested, sizeof suggested)) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                               reinterpret_cast<LPARAM>(buffer.at(0)), SMTO_NORMAL, 10000, &result) != 0;
}

std::vector<std::wstring> App::comboItems(int id) const {
    HWND combo = control(id);
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    std::vector<std::wstring> items;
    for (int i = 0; i < count; ++i) {
        // CB_GETLBTEXT is below WM_USER: the system carries its text across.
        const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring item(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const auto got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                      reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        items.push_back(item);
    }
    return items;
}

void App::command(int id) const {
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

namespace {

// Input goes to the foreground window's thread, as a person's would. The
// switch reaches the program's thread a moment later; keys sent before it
// would go to the window that had the focus.
void bringToFront(HWND window) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    auto active = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetForegroundWindow() == window && GetGUIThreadInfo(thread, &info) &&
               info.hwndActive == window;
    };
    if (active()) return;
    SetForegroundWindow(window);
    for (int i = 0; i < 40 && !active(); ++i) Sleep(50);
}

void mouseButton(POINT at, DWORD down, DWORD up) {
    SetCursorPos(at.x, at.y);
    Sleep(50);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = down;
    clicks[1].mi.dwFlags = up;
    SendInput(2, clicks, sizeof(INPUT));
    Sleep(50);
}

void leftClick(POINT at) { mouseButton(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }
void rightClick(POINT at) { mouseButton(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }

POINT middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The pixels once they stop changing: a menu paints its items one by one.
std::vector<std::uint32_t> settledCapture(const RECT& r) {
    std::vector<std::uint32_t> last = capture(r);
    for (int i = 0; i < 40; ++i) {
        Sleep(50);
        std::vector<std::uint32_t> now = capture(r);
        if (now == last) break;
        last = std::move(now);
    }
    return last;
}

// How many presses of the down arrow take an open ListMenu from no
// highlighted item to the item `id` (separators are skipped); 0 when the menu
// has no such item.
int downPressesTo(int id) {
    int presses = 0;
    for (const velmora::ui::MenuItemEntry& item : velmora::ui::listMenuItems()) {
        if (item.id == 0) continue;
        ++presses;
        if (item.id == id) return presses;
    }
    return 0;
}

}  // namespace

void App::clickButton(int id) const {
    RECT r{};
    GetWindowRect(control(id), &r);
    bringToFront(window_);
    leftClick(middle(r));
}

RECT App::rowRect(int row) const {
    HWND list = control(velmora::ui::kProxyList);
    RECT r{};
    RemoteBuffer buffer(process_.hProcess, sizeof(RECT));
    r.left = LVIR_BOUNDS;
    buffer.write(0, &r, sizeof r);
    if (!SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(buffer.at(0)))) {
        return {};
    }
    buffer.read(0, &r, sizeof r);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void App::clickRow(int row) const {
    const RECT r = rowRect(row);
    bringToFront(window_);
    // In the address column, clear of the row's edges.
    leftClick({r.left + 100, (r.top + r.bottom) / 2});
}

void App::rightClickRow(int row) const {
    const RECT r = rowRect(row);
    bringToFront(window_);
    rightClick({r.left + 100, (r.top + r.bottom) / 2});
}

void App::rightClickBelowRows() const {
    HWND list = control(velmora::ui::kProxyList);
    RECT client{};
    GetClientRect(list, &client);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
    bringToFront(window_);
    rightClick({client.left + 100, client.bottom - 10});
}

void App::pressKey(WORD key, std::initializer_list<WORD> modifiers) const {
    bringToFront(window_);
    std::vector<INPUT> keys;
    auto add = [&keys](WORD vk, DWORD flags) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = flags;
        keys.push_back(in);
    };
    for (WORD m : modifiers) add(m, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) add(*m, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    Sleep(100);
}

void App::leftClickAt(POINT screen) { leftClick(screen); }

// The close box is found where the window itself says it is: the skin draws
// the frame, so its place is the window's own answer to a hit test. The
// point returned lies a few pixels inside the box.
POINT App::closeBox() const {
    RECT r{};
    GetWindowRect(window_, &r);
    for (int y = r.top + 1; y < r.top + 48; y += 2) {
        for (int x = r.right - 2; x > r.right - 80; x -= 2) {
            DWORD_PTR hit = 0;
            if (SendMessageTimeoutW(window_, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 2000,
                                    &hit) &&
                hit == HTCLOSE) {
                return {x - 4, y + 4};
            }
        }
    }
    return {0, 0};
}

bool App::clickCloseBox() const {
    const POINT box = closeBox();
    if (box.x == 0 && box.y == 0) return false;
    bringToFront(window_);
    leftClick(box);
    return true;
}

HWND App::openMenu(std::chrono::milliseconds timeout) const {
    // The program's own menu: a menu window of another process may linger.
    const DWORD program = process_.dwProcessId;
    HWND menu = nullptr;
    waitFor(
        [&] {
            for (HWND w = FindWindowW(L"#32768", nullptr); w != nullptr;
                 w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == program && IsWindowVisible(w)) {
                    menu = w;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return menu;
}

// A menu of another process tells nothing of its items' places, so the
// item is found the way it shows: the arrow keys highlight it, and the band
// of the menu that changed is where it is. The menu is painted whole first
// (a forced repaint, which the menu's thread carries out before the call
// returns), and each key's effect is waited for before the next, so the band
// found is the item's even on a busy machine. The click then goes there.
bool App::clickMenuItem(int id) const {
    HWND menu = openMenu();
    const int presses = downPressesTo(id);
    if (menu == nullptr || presses == 0) return false;
    RECT r{};
    GetWindowRect(menu, &r);
    const auto width = static_cast<std::size_t>(r.right - r.left);
    RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::vector<std::uint32_t> before = settledCapture(r);
    std::vector<std::uint32_t> shown = before;
    for (int i = 0; i < presses; ++i) {
        pressKey(VK_DOWN);
        std::vector<std::uint32_t> now;
        if (!waitFor([&] { return (now = capture(r)) != shown; }, 5s)) return false;
        shown = settledCapture(r);
    }
    if (shown.size() != before.size() || width == 0) return false;
    int first = -1;
    int last = -1;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == before[i]) continue;
        const auto y = static_cast<int>(i / width);
        if (first < 0) first = y;
        last = y;
    }
    // One item's band, not a repaint of the whole menu.
    if (first < 0 || last - first > (r.bottom - r.top) / 4) return false;
    leftClick({(r.left + r.right) / 2, r.top + (first + last) / 2});
    return waitFor([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 5s);
}

bool App::chooseMenuItemByKeys(int id) const {
    HWND menu = openMenu();
    const int presses = downPressesTo(id);
    if (menu == nullptr || presses == 0) return false;
    for (int i = 0; i < presses; ++i) pressKey(VK_DOWN);
    pressKey(VK_RETURN);
    return waitFor([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 5s);
}

bool App::useListMenu(int row, int id) const {
    if (row >= 0) {
        rightClickRow(row);
    } else {
        rightClickBelowRows();
    }
    return clickMenuItem(id);
}

HWND App::findDialog(std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    waitFor([&] { return (found = findWindowOf(process_.dwProcessId, L"#32770")) != nullptr; },
            timeout);
    return found;
}

std::optional<MessageBoxSeen> App::answerMessageBox(std::chrono::milliseconds timeout,
                                                    int button) const {
    HWND box = findDialog(timeout);
    if (box == nullptr) return std::nullopt;
    // GetWindowText, which reads the captions the system keeps, works even
    // when the box's thread does not answer sent messages (Wine does not
    // carry WM_GETTEXT into a box shown during start-up).
    auto caption = [](HWND window) {
        std::wstring buffer(8192, L'\0');
        const int n = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
        buffer.resize(static_cast<std::size_t>(n > 0 ? n : 0));
        return buffer;
    };
    MessageBoxSeen seen;
    seen.title = caption(box);
    // The message text is the static control with id 0xFFFF.
    if (HWND label = GetDlgItem(box, 0xFFFF)) seen.text = caption(label);
    // Pressed through the button itself, and posted, not sent: pressing it
    // may end the program before it could reply.
    if (HWND pressed = GetDlgItem(box, button)) {
        PostMessageW(pressed, BM_CLICK, 0, 0);
    } else {
        return std::nullopt;
    }
    waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5s);
    return seen;
}

namespace {

BOOL CALLBACK findEdit(HWND window, LPARAM result) {
    if (className(window) != L"Edit") return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

// Counts the lines of an import file that split into exactly two pieces at
// ':' (an empty piece after the last ':' does not count).
int proxyLines(const std::string& content) {
    int n = 0;
    std::size_t start = 0;
    while (start <= content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto colon = line.find(':');
        if (colon != std::string::npos && colon + 1 < line.size() &&
            line.find(':', colon + 1) == std::string::npos) {
            ++n;
        }
        start = end + 1;
    }
    return n;
}

}  // namespace

bool App::answerFileDialog(const std::filesystem::path& file) const {
    HWND dialog = findDialog(15s);
    if (dialog == nullptr) return false;
    // The file name field: an edit box, alone or inside a (ComboBoxEx) combo.
    HWND name = GetDlgItem(dialog, 0x480);
    if (name == nullptr) {
        if (HWND combo = GetDlgItem(dialog, 0x47C)) {
            EnumChildWindows(combo, findEdit, reinterpret_cast<LPARAM>(&name));
        }
    }
    if (name == nullptr) return false;
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.wstring().c_str()));
    SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    return waitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10s);
}

bool App::importProxies(const std::filesystem::path& folder, const std::string& content) const {
    const auto file = folder / L"proxies.txt";
    writeFile(file, content);
    // Emptied first, so that the wait below cannot be met by rows of before.
    command(velmora::ui::kMenuClearAll);
    if (!waitFor([&] { return rowCount() == 0; })) return false;
    command(velmora::ui::kMenuImport);
    if (!answerFileDialog(file)) return false;
    const int expected = proxyLines(content);
    return waitFor([&] { return rowCount() == expected; });
}

std::optional<DWORD> App::closeAndWait(std::chrono::milliseconds timeout) {
    PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return waitExit(timeout);
}

std::optional<DWORD> App::waitExit(std::chrono::milliseconds timeout) {
    if (process_.hProcess == nullptr) return std::nullopt;
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) !=
        WAIT_OBJECT_0) {
        return std::nullopt;
    }
    ended_ = true;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void App::screenshot(const std::wstring& name) const {
    // Let the window finish painting first.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(1000);
    RECT r{};
    GetWindowRect(window_, &r);
    saveBitmap(r, name);
}

void screenshotScreen(const std::wstring& name) {
    saveBitmap({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, name);
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

struct InternetHandle {
    HINTERNET handle;
    explicit InternetHandle(HINTERNET h) : handle(h) {}
    ~InternetHandle() {
        if (handle != nullptr) InternetCloseHandle(handle);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
};

}  // namespace

std::optional<std::string> httpRequest(const std::wstring& verb, const std::wstring& host,
                                       int port, const std::wstring& path,
                                       const std::string& body) {
    InternetHandle session(
        InternetOpenW(L"velmora-e2e", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (session.handle == nullptr) return std::nullopt;
    InternetHandle connection(InternetConnectW(session.handle, host.c_str(),
                                               static_cast<INTERNET_PORT>(port), nullptr,
                                               nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (connection.handle == nullptr) return std::nullopt;
    InternetHandle request(HttpOpenRequestW(connection.handle, verb.c_str(), path.c_str(),
                                            nullptr, nullptr, nullptr,
                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                                            0));
    if (request.handle == nullptr) return std::nullopt;
    if (!HttpSendRequestW(request.handle, nullptr, 0, const_cast<char*>(body.data()),
                          static_cast<DWORD>(body.size()))) {
        return std::nullopt;
    }
    std::string answer;
    char buffer[4096];
    DWORD got = 0;
    while (InternetReadFile(request.handle, buffer, sizeof buffer, &got) && got > 0) {
        answer.append(buffer, got);
    }
    return answer;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

RECT rectInParent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace e2e
