#include "actions/system_proxy.h"

#include "actions/proxy_text.h"

namespace velmora::actions {

namespace {

constexpr int kSwitchPauseMs = 200;

}  // namespace

void SystemProxySwitch::set(ui::ControlOperations& controls) {
    if (controls.currentRow() < 0) {
        controls.messageBox("请选择需要设置的代理IP");
        return;
    }
    cancel();
    settings_.pauseResponsively(kSwitchPauseMs);
    // Events ran during the wait: the window may have closed, or the row may
    // have been deleted. Switching on then would leave a proxy behind, or an
    // empty one that breaks every connection, so the proxy stays off.
    if (ended_.load()) return;
    const int row = controls.currentRow();
    if (row < 0) return;
    std::string server;
    controls.withRows([&](ui::ProxyRows& rows) { server = proxyTextOfRow(rows, row); });
    mayBeSet_.store(true);
    settings_.setEnabled(true);
    settings_.setServer(server);
    settings_.announceChange();
}

void SystemProxySwitch::cancel() {
    settings_.setEnabled(false);
    settings_.removeServer();
    settings_.announceChange();
    mayBeSet_.store(false);
}

void SystemProxySwitch::end() {
    ended_.store(true);
    cancel();
}

}  // namespace velmora::actions
