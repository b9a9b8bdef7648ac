#include "app/threads.h"

#include <windows.h>

#include <memory>
#include <new>

namespace velmora::app {

namespace {

DWORD WINAPI threadEntry(LPVOID parameter) {
    const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    // Nothing may escape a thread entry; a worker that fails just ends.
    try {
        (*work)();
    } catch (...) {
    }
    return 0;
}

}  // namespace

bool startThread(std::function<void()> work) {
    auto* block = new (std::nothrow) std::function<void()>(std::move(work));
    if (block == nullptr) return false;
    HANDLE thread = CreateThread(nullptr, 0, threadEntry, block, 0, nullptr);
    if (thread == nullptr) {
        delete block;
        return false;
    }
    // Workers run detached: nobody ever joins them.
    CloseHandle(thread);
    return true;
}

bool startThread(ThreadRoutine routine, std::int32_t argument) {
    return startThread([routine, argument] { routine(argument); });
}

}  // namespace velmora::app
