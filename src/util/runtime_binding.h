// Functions of system libraries, bound by name on their first call: the one
// table of every function the program binds at run time, always from the
// system folder, never from the program's.
//
// What it binds, and why not by import:
// - WinINet, WinHTTP, the common controls and IP helper (ICMP): the system
//   does not keep them for itself, so an import would be looked for next to
//   the program first;
// - the common dialogs, the shell and Winsock: the first window needs none of
//   them, and importing them loaded a chain of libraries before it;
// - COM's per-thread initialisation (ole32), the waitable timer and the
//   working-set call (kernel32): bound by name as every library call outside
//   the program was, at their first use;
// - the display-scale calls of Windows 10 (user32), which an import would
//   keep the program from starting on older systems; their callers ask for
//   them only if present.
// A function that cannot be bound is a fatal error
// ("无法找到指定DLL库文件“%s”中的输出命令“%s”"), unless its caller asked for it
// only if present. Bound libraries stay loaded until the process ends.
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
    GetOpenFileNameW,
    GetSaveFileNameW,
    ShellExecuteW,
    WSAStartup,
    WSACleanup,
    inet_addr,
    getaddrinfo,
    freeaddrinfo,
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
