// Library functions bound by name on their first call.
//
// The library is looked for in the program's folder first, then by the
// system's normal search. A function that cannot be bound is a fatal error
// ("无法找到指定DLL库文件“%s”中的输出命令“%s”"). Bound libraries stay loaded
// until the process ends.
#pragma once

namespace velmora::app {

enum class Bound : int {
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
    SkinAttachEx,
    Count
};

// Address of the function, bound on the first call (thread-safe).
void* boundAddress(Bound which);

template <typename Fn>
Fn* bound(Bound which) {
    return reinterpret_cast<Fn*>(boundAddress(which));
}

}  // namespace velmora::app
