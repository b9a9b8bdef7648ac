// Functions of system libraries, bound by name on their first call.
//
// The libraries come from the system folder only, never from the program's
// folder. Libraries that the system does not keep for itself (the common
// controls, IP helper, WinINet) are bound here instead of imported, so that
// the loader does not look for them next to the program either. A function
// that cannot be bound is a fatal error
// ("无法找到指定DLL库文件“%s”中的输出命令“%s”"). Bound libraries stay loaded
// until the process ends.
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
    SetWindowSubclass,
    DefSubclassProc,
    IcmpCreateFile,
    IcmpSendEcho,
    IcmpCloseHandle,
    Count
};

// Address of the function, bound on the first call (thread-safe).
void* boundAddress(SystemFunction which);

template <typename Fn>
Fn* bound(SystemFunction which) {
    return reinterpret_cast<Fn*>(boundAddress(which));
}

// The fatal error of a function that cannot be bound; for libraries bound
// outside the table (the skin library).
[[noreturn]] void bindingFailed(const char* library, const char* exportName);

}  // namespace velmora
