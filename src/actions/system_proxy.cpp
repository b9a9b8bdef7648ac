#include "actions/system_proxy.h"

#include <limits>

#include "actions/proxy_text.h"

namespace velmora::actions {

namespace {

constexpr int kSwitchPauseMs = 200;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

std::int64_t unitMilliseconds(WaitUnit unit) {
    switch (unit) {
        case WaitUnit::Milliseconds:
            return 1;
        case WaitUnit::Seconds:
            return 1'000;
        case WaitUnit::Minutes:
            return 60'000;
        case WaitUnit::Hours:
            return 3'600'000;
    }
    return 1;
}

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

std::int64_t waitMilliseconds(std::int64_t duration, WaitUnit unit) {
    if (duration <= 0) return 0;
    const std::int64_t unitMs = unitMilliseconds(unit);
    return duration > kMax / unitMs ? kMax : duration * unitMs;
}

std::int64_t relativeDueTime(std::int64_t duration, WaitUnit unit) {
    constexpr std::int64_t kStepsPerMs = 10'000;
    const std::int64_t ms = waitMilliseconds(duration, unit);
    return ms > kMax / kStepsPerMs ? -kMax : -(ms * kStepsPerMs);
}

}  // namespace velmora::actions
