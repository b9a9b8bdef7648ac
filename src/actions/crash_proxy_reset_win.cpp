#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <exception>

#include "actions/system_proxy_exit.h"
#include "actions/system_proxy_win.h"

namespace velmora::actions {

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER gPreviousFilter = nullptr;
std::terminate_handler gPreviousTerminate = nullptr;
std::atomic<bool> gResetTried{false};

// Once only, whichever handler comes first.
void restoreAfterCrash() noexcept {
    if (gResetTried.exchange(true)) return;
    restoreSystemProxyAfterCrash();
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* info) {
    restoreAfterCrash();
    return gPreviousFilter ? gPreviousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void onTerminate() {
    restoreAfterCrash();
    if (gPreviousTerminate) gPreviousTerminate();
    std::abort();
}

}  // namespace

void InstallCrashProxyReset() {
    // A second installation would make the handlers their own predecessors.
    static std::atomic<bool> installed{false};
    if (installed.exchange(true)) return;
    gPreviousFilter = SetUnhandledExceptionFilter(&onUnhandledException);
    gPreviousTerminate = std::set_terminate(&onTerminate);
}

}  // namespace velmora::actions
