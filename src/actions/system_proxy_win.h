// The shell's system proxy switch, shared by the handlers and the crash reset.
#pragma once

#include "actions/system_proxy.h"

namespace velmora::actions {

inline constexpr char kInternetSettingsPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// The current user's internet settings in the registry, with the settings-
// changed notification and the responsive wait.
ProxySettings& registryProxySettings();

// Whether the registry may hold a proxy that this program set.
bool systemProxyMayBeSet() noexcept;

// The crash reset's switch-off: ProxyEnable 0 and no ProxyServer, written
// with nothing but registry calls; no notification.
void switchOffInRegistryOnly() noexcept;

}  // namespace velmora::actions
