#include "actions/system_proxy.h"

#include "actions/proxy_text.h"

namespace velmora::actions {

namespace {

constexpr int kSwitchPauseMs = 200;

}  // namespace

void SystemProxySwitch::switchOn(model::ProxyList& list, model::Prompts& prompts) {
    if (list.currentRow() < 0) {
        prompts.inform("请选择需要设置的代理IP");
        return;
    }
    switchOff();
    settings_.pauseResponsively(kSwitchPauseMs);
    // Events ran during the wait: the window may have closed, or the row may
    // have been deleted. Switching on then would leave a proxy behind, or an
    // empty one that breaks every connection, so the proxy stays off.
    if (ended_.load()) return;
    const int row = list.currentRow();
    if (row < 0) return;
    std::string server;
    list.withRows([&](model::ProxyRows& rows) { server = proxyTextOfRow(rows, row); });
    mayBeSet_.store(true);
    settings_.setEnabled(true);
    settings_.setServer(server);
    settings_.announceChange();
}

void SystemProxySwitch::switchOff() {
    settings_.setEnabled(false);
    settings_.removeServer();
    settings_.announceChange();
    mayBeSet_.store(false);
}

void SystemProxySwitch::switchOffForGood() {
    ended_.store(true);
    switchOff();
}

}  // namespace velmora::actions
