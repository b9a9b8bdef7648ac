#include "ui/window_list_win.h"

#include <windows.h>

#include "ui/ids.h"
#include "ui/main_window_win.h"

namespace velmora::ui {

int WindowProxyList::rowCount() {
    return window_.tasks().call(0, [this] { return window_.listView().rows().size(); });
}

void WindowProxyList::withRows(const std::function<void(model::ProxyRows& rows)>& work) {
    window_.tasks().run([&] { window_.listView().edit(work); });
}

int WindowProxyList::currentRow() {
    return window_.tasks().call(-1, [this] { return window_.listView().selected(); });
}

void WindowProxyList::setCurrentRow(int row) {
    window_.tasks().run([&] { window_.listView().select(row); });
}

void WindowProxyList::ensureVisible(int row) {
    window_.tasks().run([&] { window_.listView().ensureVisible(row); });
}

void WindowProxyList::takeFocus() {
    window_.tasks().run([this] {
        if (HWND list = window_.control(kProxyList)) SetFocus(list);
    });
}

}  // namespace velmora::ui
