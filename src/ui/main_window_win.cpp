#include "ui/main_window_win.h"

#include <commctrl.h>

#include <string>

#include "ui/bindings_win.h"
#include "ui/close_policy_win.h"
#include "ui/control_setup_win.h"
#include "ui/handlers.h"
#include "ui/layout.h"
#include "ui/link_labels_win.h"
#include "util/runtime_binding.h"
#include "util/wide.h"

namespace velmora::ui {

namespace {

constexpr int kIconResource = 1;

bool registerWindowClass(HINSTANCE instance, WNDPROC windowProc) {
    const std::wstring className = toWide(mainWindowEntry().className);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 48, 48, 0));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className.c_str();
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

void MainWindow::dispatchOne(MSG& msg) {
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
    const int x = (GetSystemMetrics(SM_CXSCREEN) - frame.outerWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - frame.outerHeight) / 2;
    HWND main = CreateWindowExW(WS_EX_CONTROLPARENT, toWide(frame.className).c_str(),
                                toWide(frame.title).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, x, y,
                                frame.outerWidth, frame.outerHeight, nullptr, nullptr, instance,
                                this);
    if (main == nullptr) return false;
    tasks_.attach(main);
    hwnd_.store(main);
    if (!createControls(main, instance, controlWindows_)) {
        DestroyWindow(main);
        return false;
    }
    listMenu_ = buildListMenu();
    proxyListView_.attach(control(kProxyList), main, kSyncProxyList);
    rawResultFeeder_.attach(control(kRawResultEdit), main, kRawResultTimer);
    // The class icons cover the frame; WM_SETICON makes them the window's own
    // as well, which is what the shell and task switchers ask for.
    SendMessageW(main, WM_SETICON, ICON_BIG, GetClassLongPtrW(main, GCLP_HICON));
    SendMessageW(main, WM_SETICON, ICON_SMALL, GetClassLongPtrW(main, GCLP_HICONSM));

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
