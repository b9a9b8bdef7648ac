// Keeping the system proxy from outliving the program.
#pragma once

namespace velmora::actions {

// Switches the system proxy off for good: also a "设置代理" still paused in
// its wait will not switch it on again. For the close of the window and the
// end of the Windows session, which sends no close request.
void switchSystemProxyOffForGood();

// Installs a last-chance handler (unhandled exception, std::terminate) that
// switches a proxy set by this program off in the registry before the
// process dies. Call once at start.
void InstallCrashProxyReset();

}  // namespace velmora::actions
