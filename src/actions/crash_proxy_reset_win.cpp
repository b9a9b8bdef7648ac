#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <exception>

#include "actions/system_proxy_exit.h"
#include "actions/system_proxy_win.h"
#include "util/unique_handle_win.h"

namespace velmora::actions {

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER gPreviousFilter = nullptr;
std::terminate_handler gPreviousTerminate = nullptr;
std::atomic<bool> gResetTried{false};

// Once only, and only when a proxy of ours may be set.
void switchOffAfterCrash() noexcept {
    if (!systemProxyMayBeSet() || gResetTried.exchange(true)) return;
    switchSystemProxyOffInRegistryOnly();
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* info) {
    switchOffAfterCrash();
    return gPreviousFilter ? gPreviousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void onTerminate() {
    switchOffAfterCrash();
    if (gPreviousTerminate) gPreviousTerminate();
    std::abort();
}

}  // namespace

// Runs in a process that is already failing: no heap, no locks, no library
// loading, no notification of other programs; just the two registry values,
// with the wide calls so that nothing is converted on the way.
void switchSystemProxyOffInRegistryOnly() noexcept {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                      KEY_SET_VALUE, &opened) != ERROR_SUCCESS) {
        return;
    }
    const RegistryKey key(opened);
    const DWORD zero = 0;
    RegSetValueExW(key.get(), L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero),
                   sizeof zero);
    RegDeleteValueW(key.get(), L"ProxyServer");
}

void InstallCrashProxyReset() {
    // A second installation would make the handlers their own predecessors.
    static std::atomic<bool> installed{false};
    if (installed.exchange(true)) return;
    gPreviousFilter = SetUnhandledExceptionFilter(&onUnhandledException);
    gPreviousTerminate = std::set_terminate(&onTerminate);
}

}  // namespace velmora::actions
