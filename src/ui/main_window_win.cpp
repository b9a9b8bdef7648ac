#include "ui/main_window_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "actions/system_proxy_exit.h"
#include "ui/bindings_win.h"
#include "ui/control_setup_win.h"
#include "ui/handlers.h"
#include "ui/layout.h"
#include "util/runtime_binding.h"
#include "util/wide.h"

namespace velmora::ui {

namespace {

constexpr int kIconResource = 1;
constexpr COLORREF kLinkColour = RGB(0, 51, 204);

bool isLinkLabel(int id) {
    const ControlEntry* entry = findControl(id);
    return entry != nullptr && entry->kind == ControlKind::LinkLabel;
}

LRESULT onControlColour(WPARAM wParam, LPARAM lParam, HWND window, UINT message) {
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    if (message == WM_CTLCOLORSTATIC && isLinkLabel(id)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kLinkColour);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool onSetCursor(HWND over) {
    if (!isLinkLabel(GetDlgCtrlID(over))) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

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

// Group boxes are parents of the controls inside them, but a group box does
// not pass its children's notifications on; this subclass forwards them to
// the main window, where the handlers are bound.
LRESULT CALLBACK MainWindow::groupBoxProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam, UINT_PTR, DWORD_PTR self) noexcept {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            if (HWND main = reinterpret_cast<MainWindow*>(self)->hwnd()) {
                return SendMessageW(main, message, wParam, lParam);
            }
            break;
        case WM_ERASEBKGND: {
            // A group box draws only its frame; as a parent of controls it
            // must fill its inside itself, or the area behind them stays
            // unpainted (the main window clips its children).
            RECT inside{};
            GetClientRect(window, &inside);
            FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
            return TRUE;
        }
        default:
            break;
    }
    return bound<decltype(::DefSubclassProc)>(SystemFunction::DefSubclassProc)(window, message,
                                                                                 wParam, lParam);
}

bool MainWindow::createControls(HWND main, HINSTANCE instance) {
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    const int comboHeight = mainWindowEntry().comboOpenHeight;
    for (const ControlEntry& c : controlTable()) {
        HWND parent = c.parent == kNoParent ? main : createdControl(c.parent);
        if (parent == nullptr) return false;
        const ControlClass s = controlClassFor(c);
        const bool combo =
            c.kind == ControlKind::DropDownList || c.kind == ControlKind::DropDownCombo;
        const int height = combo ? comboHeight : c.height;
        HWND control = CreateWindowExW(s.exStyle, s.className, toWide(c.text).c_str(), s.style,
                                       c.left, c.top, c.width, height, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                       instance, nullptr);
        if (control == nullptr) return false;
        controlWindows_[c.id] = control;
        SendMessageW(control, WM_SETFONT, font, FALSE);
        if (c.kind == ControlKind::GroupBox) {
            bound<decltype(::SetWindowSubclass)>(SystemFunction::SetWindowSubclass)(
                control, groupBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
        }
        fillControl(control, c);
    }
    return true;
}

// Mouse-button events of the bindings are raised here, before the message
// reaches the control, which then handles it as usual.
void MainWindow::raiseButtonEvents(const MSG& msg) {
    if (msg.message == WM_RBUTTONDOWN) {
        HWND list = createdControl(kProxyList);
        if (list == nullptr) return;
        // The press selects the row under it before the menu opens, so that
        // the chosen item acts on the row that was clicked. (A press on the
        // column header leaves the selection as it is.)
        if (msg.hwnd == list) {
            proxyListView_.selectRowAt({GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
        }
        if (msg.hwnd != list && GetParent(msg.hwnd) != list) return;
        menuPress_ = msg;
        ShowListMenu(*this);
        menuPress_ = {};
    } else if (msg.message == WM_LBUTTONDOWN) {
        const int id = GetDlgCtrlID(msg.hwnd);
        if (isLinkLabel(id) && createdControl(id) == msg.hwnd) runLinkHandler(*this, id);
    }
}

void MainWindow::listMenuClosed(UINT command) {
    // A menu opened by a press took the button's release. The list view,
    // which sees the press only after the menu, waits for that release
    // before it answers the click (and would take the next click for it), so
    // it gets the release back, ahead of the chosen item: the item's handler
    // then runs once the list view has handled the press.
    if (menuPress_.hwnd != nullptr && GetKeyState(VK_RBUTTON) >= 0) {
        PostMessageW(menuPress_.hwnd, WM_RBUTTONUP, 0, menuPress_.lParam);
    }
    if (command != 0 && hwnd() != nullptr) PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// The menu key and Shift+F10 on the list open its menu from the keyboard.
// The key that opens it goes no further: the default handling would also
// report it as a context-menu request, and a second menu would follow.
bool MainWindow::raiseMenuKeyEvent(const MSG& msg) {
    const bool menuKey = msg.wParam == VK_APPS ? msg.message == WM_KEYDOWN || msg.message == WM_KEYUP
                                               : msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F10 &&
                                                     GetKeyState(VK_SHIFT) < 0;
    if (!menuKey || msg.hwnd == nullptr || msg.hwnd != createdControl(kProxyList)) return false;
    // The menu key opens the menu when it is released, as elsewhere.
    if (msg.message != WM_KEYDOWN) ShowListMenuFromKeyboard(*this);
    return true;
}

void MainWindow::dispatchOne(MSG& msg) {
    HWND main = hwnd();
    try {
        raiseButtonEvents(msg);
        if (raiseMenuKeyEvent(msg)) return;
    } catch (...) {
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
        rawResultFeeder_.onTimer();
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
    if (from == nullptr || from != createdControl(kProxyList)) return false;
    if (lParam == -1) ShowListMenuFromKeyboard(*this);
    return true;
}

void MainWindow::onDestroy(HWND window) {
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

void MainWindow::onClose(HWND window) {
    // The close is always granted, after the system proxy is switched off
    // (also against a "设置代理" still waiting to switch it on).
    actions::EndSystemProxyUse();
    DestroyWindow(window);
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
            if (onSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
            break;
        case WM_CTLCOLORSTATIC:
            return onControlColour(wParam, lParam, window, message);
        case WM_CLOSE:
            onClose(window);
            return 0;
        case WM_QUERYENDSESSION:
            // The end of the session sends no close request.
            CancelSystemProxy(*this);
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) actions::EndSystemProxyUse();
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
    thread_ = GetCurrentThreadId();
    HWND main = CreateWindowExW(WS_EX_CONTROLPARENT, toWide(frame.className).c_str(),
                                toWide(frame.title).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, x, y,
                                frame.outerWidth, frame.outerHeight, nullptr, nullptr, instance,
                                this);
    if (main == nullptr) return false;
    tasks_.attach(main, thread_);
    hwnd_.store(main);
    if (!createControls(main, instance)) {
        DestroyWindow(main);
        return false;
    }
    listMenu_ = buildListMenu();
    proxyListView_.attach(createdControl(kProxyList), main, kSyncProxyList);
    rawResultFeeder_.attach(createdControl(kRawResultEdit), main, kRawResultTimer);
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

HWND MainWindow::createdControl(int id) const {
    auto it = controlWindows_.find(id);
    return it == controlWindows_.end() ? nullptr : it->second;
}

HWND MainWindow::control(int id) const {
    if (hwnd() == nullptr) return nullptr;
    return createdControl(id);
}

}  // namespace velmora::ui
