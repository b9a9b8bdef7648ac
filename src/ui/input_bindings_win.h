// The bindings that the message loop raises before a message reaches its
// control: the right-button press on ProxyList (ListMenu), the menu keys on
// it, and the left-button press on a link label. The control then handles
// the message as usual, except a menu key, which goes no further.
#pragma once

#include <windows.h>

namespace velmora::ui {

class MainWindow;

class InputBindings {
public:
    explicit InputBindings(MainWindow& window) : window_(window) {}

    // Raises what `msg` is bound to; true when the message is used up.
    bool raise(const MSG& msg);

    // ListMenu closed with the item `command` chosen (0: none). The item's
    // handler runs once the messages waiting now are handled.
    void listMenuClosed(UINT command);

private:
    void rightButtonDown(const MSG& msg);
    bool menuKey(const MSG& msg);

    MainWindow& window_;
    // The right-button press that opened ListMenu, while the menu is open.
    MSG menuPress_{};
};

}  // namespace velmora::ui
