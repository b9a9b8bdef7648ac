// The shell's system proxy switch, one for the process: the window's
// commands, its close and the crash reset share it.
#pragma once

#include <functional>

#include "actions/system_proxy.h"

namespace velmora::actions {

inline constexpr char kInternetSettingsPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// The current user's internet settings in the registry, with the settings-
// changed notification and the responsive wait.
ProxySettings& currentUserProxySettings();

// Waits the given milliseconds while the window goes on handling its events.
using SwitchPause = std::function<void(int milliseconds)>;

// "设置代理": the proxy of the selected row becomes the system proxy, after
// `pause`. Window thread only.
void switchSystemProxyOn(model::ProxyList& list, model::Prompts& prompts, SwitchPause pause);
// "取消代理": the user's own settings come back when the program's proxy is
// in place; otherwise no proxy is used. Running programs are told.
void switchSystemProxyOff();

// The crash reset: when the program's proxy is still in place, the user's
// settings go back into the registry. Nothing but registry calls (no
// notification, no heap, no lock), so that a failing process can run it.
void restoreSystemProxyAfterCrash() noexcept;

}  // namespace velmora::actions
