#include "ui/main_window_win.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "ui/bindings_win.h"
#include "ui/close_policy_win.h"
#include "ui/control_setup_win.h"
#include "ui/handlers.h"
#include "ui/layout.h"
#include "ui/link_labels_win.h"
#include "util/dpi_win.h"
#include "util/runtime_binding.h"
#include "util/wide.h"

namespace velmora::ui {

namespace {

constexpr int kIconResource = 1;
constexpr int kIconSize = 48;  // the window's own icon at 96 DPI

HICON loadIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, size, size, 0));
}

HFONT stockFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

bool registerWindowClass(HINSTANCE instance, WNDPROC windowProc) {
    const std::wstring className = toWide(mainWindowEntry().className);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = loadIcon(instance, kIconSize);
    wc.hIconSm = loadIcon(instance, GetSystemMetrics(SM_CXSMICON));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className.c_str();
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

void MainWindow::dispatchOne(MSG& msg) {
    // The system sends these and never posts them; a posted one comes from
    // another program, with a pointer that means nothing here.
    if (msg.message == WM_DPICHANGED || msg.message == kGetDpiScaledSize) return;
    HWND main = hwnd();
    try {
        if (bindings_.raise(msg)) return;
    } catch (...) {
        // A binding that failed (out of memory) leaves the message to its
        // usual handling below: the input still arrives.
    }
    if (main != nullptr && IsDialogMessageW(main, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

LRESULT MainWindow::onNotify(NMHDR* header) {
    if (header->idFrom != kProxyList) return 0;
    switch (header->code) {
        case LVN_GETDISPINFOW:
            proxyListView_.fillDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(header));
            return 0;
        case LVN_ITEMCHANGED:
            proxyListView_.itemChanged(*reinterpret_cast<const NMLISTVIEW*>(header));
            return 0;
        case LVN_ODFINDITEMW:
            return proxyListView_.findItem(*reinterpret_cast<const NMLVFINDITEMW*>(header));
        default:
            return 0;
    }
}

void MainWindow::onTimer(WPARAM timerId) {
    if (timerId == kRawResultTimer) {
        // The hidden edit box waits while rows are still coming: each of its
        // steps holds the window thread for milliseconds, which the list's
        // batches would otherwise wait behind.
        if (!proxyListView_.growing()) rawResultFeeder_.onTimer();
        return;
    }
    // A list step that was due but whose posted message got lost.
    proxyListView_.syncIfDue();
    runTimerHandler(*this, static_cast<unsigned>(timerId));
}

// The list's own report of a right-click comes after the menu the press
// already opened, and goes no further: the default handling would open the
// system menu when the point lies on the title bar. A request without a
// point comes from the keyboard (or a tool acting for it). Requests of other
// windows get the default handling.
bool MainWindow::onContextMenu(HWND from, LPARAM lParam) {
    if (from == nullptr || from != control(kProxyList)) return false;
    if (lParam == -1) ShowListMenuFromKeyboard(*this);
    return true;
}

FontHandle MainWindow::makeFont() {
    const LOGFONTW wanted = defaultGuiFontAt(scale_.dpi());
    LOGFONTW stock{};
    GetObjectW(stockFont(), sizeof stock, &stock);
    FontHandle replaced = std::move(ownFont_);
    // At the system's DPI the stock font itself, as every control had it
    // before the program knew of display scales.
    if (wanted.lfHeight != stock.lfHeight) ownFont_.reset(CreateFontIndirectW(&wanted));
    font_ = ownFont_ ? ownFont_.get() : stockFont();
    return replaced;
}

void MainWindow::loadIcons(HINSTANCE instance) {
    HWND main = hwnd();
    IconHandle big(loadIcon(instance, scale_(kIconSize)));
    IconHandle small(loadIcon(instance, systemMetricForDpi(SM_CXSMICON, scale_.dpi())));
    // The icons these replace go only once the window holds the new ones.
    if (big) {
        SendMessageW(main, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
        bigIcon_ = std::move(big);
    }
    if (small) {
        SendMessageW(main, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
        smallIcon_ = std::move(small);
    }
}

SIZE MainWindow::outerSizeAt(DpiScale scale) const {
    const WindowEntry& frame = mainWindowEntry();
    return {scale(frame.outerWidth), scale(frame.outerHeight)};
}

// The window moved to a monitor of another scale (or the scale of its
// monitor changed): it takes the place the system suggests, which is the
// size outerSizeAt gave, and lays its controls out again in new fonts. The
// controls stay the same windows, so what was typed, picked or selected in
// them stays too.
void MainWindow::onDpiChanged(HWND window, int dpi, const RECT& suggested) {
    const DpiScale from = scale_;
    scale_ = DpiScale(dpi);
    SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (scale_ != from) {
        // The old font is deleted when `replaced` goes, after every control
        // has been given the new one.
        const FontHandle replaced = makeFont();
        layOutControlsAgain(controlWindows_, from, scale_, font_);
        loadIcons(instance_);
    }
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void MainWindow::onDestroy(HWND window) {
    tasks_.detach();
    KillTimer(window, kNoticeTimer);
    KillTimer(window, kTrimTimer);
    rawResultFeeder_.detach();
    proxyListView_.detach();
    if (listMenu_ != nullptr) {
        DestroyMenu(listMenu_);
        listMenu_ = nullptr;
    }
    PostQuitMessage(0);
}

LRESULT MainWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == tasks_.doorbell() && message != 0) {
        tasks_.runWaiting();
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED || lParam == 0) runCommandHandler(*this, LOWORD(wParam));
            return 0;
        case kSyncProxyList:
            proxyListView_.onSyncMessage();
            return 0;
        case WM_NOTIFY:
            return onNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_TIMER:
            onTimer(wParam);
            return 0;
        case WM_CONTEXTMENU:
            if (onContextMenu(reinterpret_cast<HWND>(wParam), lParam)) return 0;
            break;
        case WM_SETCURSOR:
            if (setLinkCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
            break;
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush = colourLinkLabel(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_DPICHANGED:
            if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
                onDpiChanged(window, LOWORD(wParam), *suggested);
                return 0;
            }
            break;
        case kGetDpiScaledSize:
            if (auto* size = reinterpret_cast<SIZE*>(lParam)) {
                *size = outerSizeAt(DpiScale(LOWORD(wParam)));
                return TRUE;
            }
            break;
        case WM_CLOSE:
            closeRequested(window);
            return 0;
        case WM_QUERYENDSESSION:
            return sessionEnding();
        case WM_ENDSESSION:
            sessionEnded(wParam != FALSE);
            return 0;
        case WM_DESTROY:
            onDestroy(window);
            return 0;
        case WM_NCDESTROY:
            hwnd_.store(nullptr);
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    // The object comes with the first message that carries the creation
    // parameters; the few messages before it get the default handling.
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->handleMessage(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

bool MainWindow::create(HINSTANCE instance, CreatedEvent created) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                             ICC_STANDARD_CLASSES};
    bound<decltype(::InitCommonControlsEx)>(SystemFunction::InitCommonControlsEx)(&icc);
    if (!registerWindowClass(instance, windowProc)) return false;

    const WindowEntry& frame = mainWindowEntry();
    const auto centred = [](SIZE size) {
        return POINT{(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
    };
    // Made at its 96-DPI size, hidden; once it exists it knows the DPI of
    // its monitor and takes its size and place at that DPI.
    SIZE size = outerSizeAt(scale_);
    POINT at = centred(size);
    HWND main = CreateWindowExW(WS_EX_CONTROLPARENT, toWide(frame.className).c_str(),
                                toWide(frame.title).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, at.x, at.y,
                                size.cx, size.cy, nullptr, nullptr, instance, this);
    if (main == nullptr) return false;
    instance_ = instance;
    tasks_.attach(main);
    hwnd_.store(main);
    scale_ = DpiScale(windowDpi(main));
    if (scale_ != DpiScale()) {
        size = outerSizeAt(scale_);
        at = centred(size);
        SetWindowPos(main, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    makeFont();
    if (!createControls(main, instance, scale_, font_, controlWindows_)) {
        DestroyWindow(main);
        return false;
    }
    listMenu_ = buildListMenu();
    proxyListView_.attach(control(kProxyList), main, kSyncProxyList);
    rawResultFeeder_.attach(control(kRawResultEdit), main, kRawResultTimer);
    // The class icons cover the frame at 96 DPI; WM_SETICON gives the window
    // its own at its DPI, which is also what the shell and task switchers
    // ask for.
    loadIcons(instance);

    SetTimer(main, kNoticeTimer, kNoticePeriodMs, nullptr);
    SetTimer(main, kTrimTimer, kTrimPeriodMs, nullptr);

    // The user can act on the window only once the created event has run.
    try {
        created(*this);
    } catch (...) {
        // A start-up action that failed (out of memory) leaves the window
        // whole, in its design-time look: it is still shown and usable.
    }
    if (hwnd() == nullptr) return true;
    // The created event may have given the controls other fonts (the skin's).
    settleHeights(controlWindows_, scale_);
    ShowWindow(main, SW_SHOWNORMAL);
    UpdateWindow(main);
    return true;
}

int MainWindow::runMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatchOne(msg);
    return static_cast<int>(msg.wParam);
}

void MainWindow::processPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the outer loop, which then ends.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        dispatchOne(msg);
    }
}

HWND MainWindow::control(int id) const {
    if (hwnd() == nullptr) return nullptr;
    const auto it = controlWindows_.find(id);
    return it == controlWindows_.end() ? nullptr : it->second;
}

}  // namespace velmora::ui
