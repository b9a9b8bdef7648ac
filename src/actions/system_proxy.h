// Making the selected proxy the current user's system proxy, and switching
// the system proxy off again.
#pragma once

#include <atomic>
#include <string_view>

#include "model/prompts.h"
#include "model/proxy_list.h"

namespace velmora::actions {

// The per-user internet settings and the responsive wait, as the shell
// provides them. Failures are not reported: the switch goes on regardless.
class ProxySettings {
public:
    virtual ~ProxySettings() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setServer(std::string_view server) = 0;
    virtual void removeServer() = 0;
    // Tells running programs that the settings changed.
    virtual void announceChange() = 0;
    // Waits while the window keeps handling its events.
    virtual void pauseResponsively(int milliseconds) = 0;
};

class SystemProxySwitch {
public:
    explicit constexpr SystemProxySwitch(ProxySettings& settings) : settings_(settings) {}

    // "设置代理": off, a short responsive wait, then on with the proxy of the
    // row selected after the wait.
    void switchOn(model::ProxyList& list, model::Prompts& prompts);
    // "取消代理": no proxy is used; the server value goes. A later "设置代理"
    // switches on again.
    void switchOff();
    // The same, for good: a "设置代理" still waiting inside its pause (the
    // session ends or the window closes meanwhile) no longer switches on.
    void switchOffForGood();

    // Whether the settings may hold a proxy of ours. Lock-free, so that a
    // last-chance handler in a crashed process can read it.
    bool mayBeSet() const { return mayBeSet_.load(); }

private:
    ProxySettings& settings_;
    std::atomic<bool> mayBeSet_{false};
    std::atomic<bool> ended_{false};
};

}  // namespace velmora::actions
