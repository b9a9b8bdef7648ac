// Making the selected proxy the current user's system proxy, and giving the
// user's own settings back when the program's proxy goes.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/prompts.h"
#include "model/proxy_list.h"

namespace velmora::actions {

// One value of the settings as it was stored: absent, or its type and bytes.
struct StoredValue {
    bool present = false;
    std::uint32_t type = 0;
    std::string bytes;
    bool operator==(const StoredValue&) const = default;
};

// The two values the switch writes, as the user had them.
struct ProxyState {
    StoredValue enable;  // ProxyEnable
    StoredValue server;  // ProxyServer
    bool operator==(const ProxyState&) const = default;
};

// The per-user internet settings and the responsive wait, as the shell
// provides them. Failures are not reported: the switch goes on regardless.
class ProxySettings {
public:
    virtual ~ProxySettings() = default;
    virtual ProxyState read() = 0;
    // Puts both values back as `state` has them. An absent ProxyServer is
    // deleted; an absent ProxyEnable is written as 0, which means the same.
    virtual void restore(const ProxyState& state) = 0;
    // Whether ProxyEnable is 1 and ProxyServer is what setServer() wrote
    // last: the program's own proxy is still in place.
    virtual bool holdsOwnProxy() = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setServer(std::string_view server) = 0;
    virtual void removeServer() = 0;
    // Tells running programs that the settings changed.
    virtual void announceChange() = 0;
    // Waits while the window keeps handling its events.
    virtual void pauseResponsively(int milliseconds) = 0;
};

// The switch remembers the user's settings when it puts a proxy of the
// program's own in place, and gives them back when that proxy goes. A proxy
// that somebody else put there since is theirs, and is left alone.
class SystemProxySwitch {
public:
    explicit SystemProxySwitch(ProxySettings& settings) : settings_(settings) {}

    // "设置代理": the program's proxy in place (if any) goes, a short
    // responsive wait, then the proxy of the row selected after the wait
    // goes in. What the user had is remembered first, unless it is the
    // program's proxy being replaced: then what was remembered before the
    // first one stays.
    void switchOn(model::ProxyList& list, model::Prompts& prompts);
    // "取消代理": the program's proxy gives way to the user's settings; with
    // no proxy of the program's in place, the system proxy is switched off
    // (ProxyEnable 0, no ProxyServer), as asked.
    void switchOff();
    // The end of the session: the program's proxy gives way to the user's
    // settings; anything else is left as it is.
    void release();
    // The same, for good (the close, the session's end): a "设置代理" still
    // waiting inside its pause no longer switches on.
    void releaseForGood();

    // Whether the settings may hold a proxy of ours. Lock-free, so that a
    // last-chance handler in a crashed process can read it.
    bool mayBeSet() const { return mayBeSet_.load(); }
    // What the user had before the program's proxy went in; meaningful while
    // mayBeSet().
    const ProxyState& remembered() const { return remembered_; }

private:
    bool ownProxyInPlace();
    void giveBack();

    ProxySettings& settings_;
    ProxyState remembered_;
    std::atomic<bool> mayBeSet_{false};
    std::atomic<bool> ended_{false};
};

}  // namespace velmora::actions
