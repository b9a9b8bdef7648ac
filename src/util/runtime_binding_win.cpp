#include "util/runtime_binding.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <mutex>
#include <string>

#include "util/fatal.h"
#include "util/system_library_win.h"
#include "util/wide.h"

namespace velmora {

namespace {

struct Entry {
    const char* library;
    const char* exportName;
};

// Indexed by SystemFunction; keep the order of the enumeration.
constexpr std::array<Entry, static_cast<std::size_t>(SystemFunction::Count)> kTable{{
    {"ole32.dll", "CoInitialize"},
    {"ole32.dll", "CoUninitialize"},
    {"wininet.dll", "InternetOpenA"},
    {"wininet.dll", "InternetConnectA"},
    {"wininet.dll", "HttpOpenRequestA"},
    {"wininet.dll", "HttpSendRequestA"},
    {"wininet.dll", "InternetReadFile"},
    {"wininet.dll", "InternetQueryDataAvailable"},
    {"wininet.dll", "HttpQueryInfoA"},
    {"wininet.dll", "InternetCloseHandle"},
    {"wininet.dll", "InternetSetOptionA"},
    {"kernel32.dll", "CreateWaitableTimerA"},
    {"kernel32.dll", "SetWaitableTimer"},
    {"kernel32.dll", "SetProcessWorkingSetSize"},
    {"comctl32.dll", "InitCommonControlsEx"},
    {"iphlpapi.dll", "IcmpCreateFile"},
    {"iphlpapi.dll", "IcmpSendEcho"},
    {"iphlpapi.dll", "IcmpCloseHandle"},
    {"winhttp.dll", "WinHttpOpen"},
    {"winhttp.dll", "WinHttpSetTimeouts"},
    {"winhttp.dll", "WinHttpSetOption"},
    {"winhttp.dll", "WinHttpCrackUrl"},
    {"winhttp.dll", "WinHttpConnect"},
    {"winhttp.dll", "WinHttpOpenRequest"},
    {"winhttp.dll", "WinHttpAddRequestHeaders"},
    {"winhttp.dll", "WinHttpSendRequest"},
    {"winhttp.dll", "WinHttpReceiveResponse"},
    {"winhttp.dll", "WinHttpQueryDataAvailable"},
    {"winhttp.dll", "WinHttpReadData"},
    {"winhttp.dll", "WinHttpCloseHandle"},
    {"comdlg32.dll", "GetOpenFileNameW"},
    {"comdlg32.dll", "GetSaveFileNameW"},
    {"shell32.dll", "ShellExecuteW"},
    {"ws2_32.dll", "WSAStartup"},
    {"ws2_32.dll", "WSACleanup"},
    {"ws2_32.dll", "inet_addr"},
    {"ws2_32.dll", "getaddrinfo"},
    {"ws2_32.dll", "freeaddrinfo"},
    {"user32.dll", "GetDpiForWindow"},
    {"user32.dll", "GetDpiForSystem"},
    {"user32.dll", "GetSystemMetricsForDpi"},
}};

std::array<std::atomic<void*>, kTable.size()> gAddresses{};

// Serialises binding: workers bind WinINet functions concurrently.
std::mutex gBindMutex;

}  // namespace

void bindingFailed(const char* library, const char* exportName) {
    std::string message = "无法找到指定DLL库文件“";
    message += library;
    message += "”中的输出命令“";
    message += exportName;
    message += "”";
    fatalError(message);
}

void* boundAddressIfPresent(SystemFunction which) {
    const auto index = static_cast<std::size_t>(which);
    if (void* address = gAddresses[index].load(std::memory_order_acquire)) return address;

    const Entry& entry = kTable[index];
    std::lock_guard lock(gBindMutex);
    if (void* address = gAddresses[index].load(std::memory_order_relaxed)) return address;
    HMODULE module = loadSystemLibrary(toWide(entry.library).c_str());
    if (module == nullptr) return nullptr;
    void* address = reinterpret_cast<void*>(GetProcAddress(module, entry.exportName));
    if (address == nullptr) {
        FreeLibrary(module);
        return nullptr;
    }
    // Each entry keeps its own reference for the rest of the run. The
    // libraries are released by the end of the process, after every worker
    // has been stopped: freeing them earlier could pull code out from under
    // a detached worker that is still inside a request.
    gAddresses[index].store(address, std::memory_order_release);
    return address;
}

void* boundAddress(SystemFunction which) {
    if (void* address = boundAddressIfPresent(which)) return address;
    // Outside the lock: the message box processes window messages, and a
    // handler run meanwhile (a timer tick) may bind a function of its own.
    const Entry& entry = kTable[static_cast<std::size_t>(which)];
    bindingFailed(entry.library, entry.exportName);
}

}  // namespace velmora
