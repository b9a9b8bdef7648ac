#include "actions/system_proxy.h"

#include "actions/proxy_text.h"

namespace velmora::actions {

namespace {

constexpr int kSwitchPauseMs = 200;

}  // namespace

bool SystemProxySwitch::ownProxyInPlace() { return mayBeSet_.load() && settings_.holdsOwnProxy(); }

void SystemProxySwitch::giveBack() {
    settings_.restore(remembered_);
    settings_.announceChange();
}

void SystemProxySwitch::switchOn(model::ProxyList& list, model::Prompts& prompts) {
    if (list.currentRow() < 0) {
        prompts.inform("请选择需要设置的代理IP");
        return;
    }
    const bool replacing = ownProxyInPlace();
    if (replacing) giveBack();
    mayBeSet_.store(false);
    settings_.pauseResponsively(kSwitchPauseMs);
    // Events ran during the wait: the window may have closed, or the row may
    // have been deleted. Switching on then would leave a proxy behind, or an
    // empty one that breaks every connection, so nothing goes in.
    if (ended_.load()) return;
    const int row = list.currentRow();
    if (row < 0) return;
    std::string server;
    list.withRows([&](model::ProxyRows& rows) { server = proxyTextOfRow(rows, row); });
    // Replacing our own proxy, the settings read now would be the user's
    // given back a moment ago, unless that write failed: what was
    // remembered before is the surer record.
    if (!replacing) remembered_ = settings_.read();
    mayBeSet_.store(true);
    settings_.setEnabled(true);
    settings_.setServer(server);
    settings_.announceChange();
}

void SystemProxySwitch::switchOff() {
    if (ownProxyInPlace()) {
        giveBack();
    } else {
        settings_.setEnabled(false);
        settings_.removeServer();
        settings_.announceChange();
    }
    mayBeSet_.store(false);
}

void SystemProxySwitch::release() {
    if (ownProxyInPlace()) giveBack();
    mayBeSet_.store(false);
}

void SystemProxySwitch::releaseForGood() {
    ended_.store(true);
    release();
}

}  // namespace velmora::actions
