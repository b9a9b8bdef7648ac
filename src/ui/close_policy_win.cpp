#include "ui/close_policy_win.h"

#include "actions/system_proxy_exit.h"

namespace velmora::ui {

void closeRequested(HWND window) {
    // For good: also against a "设置代理" still waiting to switch on.
    actions::releaseSystemProxyForGood();
    DestroyWindow(window);
}

LRESULT sessionEnding() {
    actions::releaseSystemProxy();
    return TRUE;
}

void sessionEnded(bool ending) {
    if (ending) actions::releaseSystemProxyForGood();
}

}  // namespace velmora::ui
