// Keeping the system proxy from outliving the program.
#pragma once

namespace velmora::actions {

// Switches the system proxy off for good: also a "设置代理" still paused in
// its wait will not switch it on again. For the end of the Windows session
// (WM_ENDSESSION), which sends no close request.
void EndSystemProxyUse();

// Installs a last-chance handler (unhandled exception, std::terminate) that
// switches a proxy set by this program off in the registry before the
// process dies. Call once at start.
void InstallCrashProxyReset();

}  // namespace velmora::actions
