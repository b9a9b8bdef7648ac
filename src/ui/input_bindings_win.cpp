#include "ui/input_bindings_win.h"

#include <windowsx.h>

#include "ui/bindings_win.h"
#include "ui/handlers.h"
#include "ui/ids.h"
#include "ui/link_labels_win.h"
#include "ui/main_window_win.h"

namespace velmora::ui {

bool InputBindings::raise(const MSG& msg) {
    switch (msg.message) {
        case WM_RBUTTONDOWN:
            rightButtonDown(msg);
            return false;
        case WM_LBUTTONDOWN: {
            const int id = GetDlgCtrlID(msg.hwnd);
            if (isLinkLabel(id) && window_.control(id) == msg.hwnd) runLinkHandler(window_, id);
            return false;
        }
        default:
            return menuKey(msg);
    }
}

void InputBindings::rightButtonDown(const MSG& msg) {
    HWND list = window_.control(kProxyList);
    if (list == nullptr) return;
    // The press selects the row under it before the menu opens, so that the
    // chosen item acts on the row that was clicked. (A press on the column
    // header leaves the selection as it is.)
    if (msg.hwnd == list) {
        window_.listView().selectRowAt({GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
    }
    if (msg.hwnd != list && GetParent(msg.hwnd) != list) return;
    menuPress_ = msg;
    ShowListMenu(window_);
    menuPress_ = {};
}

void InputBindings::listMenuClosed(UINT command) {
    // A menu opened by a press took the button's release. The list view,
    // which sees the press only after the menu, waits for that release
    // before it answers the click (and would take the next click for it), so
    // it gets the release back, ahead of the chosen item: the item's handler
    // then runs once the list view has handled the press.
    if (menuPress_.hwnd != nullptr && GetKeyState(VK_RBUTTON) >= 0) {
        PostMessageW(menuPress_.hwnd, WM_RBUTTONUP, 0, menuPress_.lParam);
    }
    HWND main = window_.hwnd();
    if (command != 0 && main != nullptr) PostMessageW(main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// The menu key and Shift+F10 on the list open its menu from the keyboard.
// The key that opens it goes no further: the default handling would also
// report it as a context-menu request, and a second menu would follow.
bool InputBindings::menuKey(const MSG& msg) {
    const bool isMenuKey =
        msg.wParam == VK_APPS
            ? msg.message == WM_KEYDOWN || msg.message == WM_KEYUP
            : msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0;
    if (!isMenuKey || msg.hwnd == nullptr || msg.hwnd != window_.control(kProxyList)) return false;
    // The menu key opens the menu when it is released, as elsewhere.
    if (msg.message != WM_KEYDOWN) ShowListMenuFromKeyboard(window_);
    return true;
}

}  // namespace velmora::ui
