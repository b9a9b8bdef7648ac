// Keeping the program's system proxy from outliving the program.
#pragma once

namespace velmora::actions {

// When the program's proxy is still in place, the user's own settings come
// back; a proxy somebody else set since is left alone. For the session's
// coming end, which may yet be called off.
void releaseSystemProxy();
// The same, for good: also a "设置代理" still paused in its wait will not
// switch on. For the close of the window and the end of the session.
void releaseSystemProxyForGood();

// Installs a last-chance handler (unhandled exception, std::terminate) that
// gives the user's settings back in the registry before the process dies,
// when the program's proxy is still in place. Call once at start.
void InstallCrashProxyReset();

}  // namespace velmora::actions
