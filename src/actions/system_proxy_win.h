// The shell's system proxy switch, one for the process: the window's
// commands and the crash reset share it.
#pragma once

#include "actions/system_proxy.h"
#include "actions/wait_responsive_win.h"

namespace velmora::actions {

inline constexpr char kInternetSettingsPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// The current user's internet settings in the registry, with the settings-
// changed notification and the responsive wait.
ProxySettings& currentUserProxySettings();

// "设置代理": the proxy of the selected row becomes the system proxy; the
// pause before it handles `pump`'s events. Window thread only.
void switchSystemProxyOn(model::ProxyList& list, model::Prompts& prompts, EventPump& pump);
// "取消代理": no proxy is used; the server value goes, and running programs
// are told. A later "设置代理" switches on again.
void switchSystemProxyOff();

// Whether the registry may hold a proxy that this program set.
bool systemProxyMayBeSet() noexcept;

// The crash reset's switch-off: ProxyEnable 0 and no ProxyServer, written
// with nothing but registry calls (no notification, no heap, no lock), so
// that a failing process can still run it.
void switchSystemProxyOffInRegistryOnly() noexcept;

}  // namespace velmora::actions
