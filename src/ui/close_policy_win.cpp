#include "ui/close_policy_win.h"

#include "actions/system_proxy_exit.h"
#include "actions/system_proxy_win.h"

namespace velmora::ui {

void closeRequested(HWND window) {
    // Off for good: also against a "设置代理" still waiting to switch it on.
    actions::switchSystemProxyOffForGood();
    DestroyWindow(window);
}

LRESULT sessionEnding() {
    actions::switchSystemProxyOff();
    return TRUE;
}

void sessionEnded(bool ending) {
    if (ending) actions::switchSystemProxyOffForGood();
}

}  // namespace velmora::ui
