#include "app/threads.h"

#include <windows.h>

#include <new>

namespace velmora::app {

namespace {

struct StartBlock {
    ThreadRoutine routine;
    std::int32_t argument;
};

DWORD WINAPI threadEntry(LPVOID parameter) {
    const StartBlock block = *static_cast<StartBlock*>(parameter);
    delete static_cast<StartBlock*>(parameter);
    // Nothing may escape a thread entry; a worker that fails just ends.
    try {
        block.routine(block.argument);
    } catch (...) {
    }
    return 0;
}

}  // namespace

bool startThread(ThreadRoutine routine, std::int32_t argument) {
    auto* block = new (std::nothrow) StartBlock{routine, argument};
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

}  // namespace velmora::app
