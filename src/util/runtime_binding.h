// Functions of system libraries, bound by name on their first call: the one
// table of every function the program binds at run time.
//
// The libraries come from the system folder only, never from the program's
// folder. Libraries that the system does not keep for itself (the common
// controls, IP helper, WinINet, WinHTTP) are bound here instead of imported,
// so that the loader does not look for them next to the program either; so
// are the calls that only newer systems have (the display-scale calls of
// Windows 10), which an import would keep from starting on older ones. A
// function that cannot be bound is a fatal error
// ("无法找到指定DLL库文件“%s”中的输出命令“%s”"), unless its caller asked for
// it only if present. Bound libraries stay loaded until the process ends.
#pragma once

namespace velmora {

enum class SystemFunction : int {
    CoInitialize,
    CoUninitialize,
    InternetOpenA,
    InternetConnectA,
    HttpOpenRequestA,
    HttpSendRequestA,
    InternetReadFile,
    InternetQueryDataAvailable,
    HttpQueryInfoA,
    InternetCloseHandle,
    InternetSetOptionA,
    CreateWaitableTimerA,
    SetWaitableTimer,
    SetProcessWorkingSetSize,
    InitCommonControlsEx,
    IcmpCreateFile,
    IcmpSendEcho,
    IcmpCloseHandle,
    WinHttpOpen,
    WinHttpSetTimeouts,
    WinHttpSetOption,
    WinHttpCrackUrl,
    WinHttpConnect,
    WinHttpOpenRequest,
    WinHttpAddRequestHeaders,
    WinHttpSendRequest,
    WinHttpReceiveResponse,
    WinHttpQueryDataAvailable,
    WinHttpReadData,
    WinHttpCloseHandle,
    GetDpiForWindow,
    GetDpiForSystem,
    GetSystemMetricsForDpi,
    Count
};

// Address of the function, bound on the first call (thread-safe).
void* boundAddress(SystemFunction which);
// The same, or null where the library or the function is missing: for the
// caller that can do without it.
void* boundAddressIfPresent(SystemFunction which);

template <typename Fn>
Fn* bound(SystemFunction which) {
    return reinterpret_cast<Fn*>(boundAddress(which));
}

template <typename Fn>
Fn* boundIfPresent(SystemFunction which) {
    return reinterpret_cast<Fn*>(boundAddressIfPresent(which));
}

// The fatal error of a function that cannot be bound; for libraries bound
// outside the table (the skin library).
[[noreturn]] void bindingFailed(const char* library, const char* exportName);

}  // namespace velmora
