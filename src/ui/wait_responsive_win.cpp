#include "ui/wait_responsive_win.h"

#include <windows.h>

#include <algorithm>

#include "util/runtime_binding.h"
#include "util/unique_handle_win.h"

namespace velmora::ui {

namespace {

KernelHandle startTimer(std::int64_t dueTime) {
    auto* create = bound<decltype(::CreateWaitableTimerA)>(SystemFunction::CreateWaitableTimerA);
    KernelHandle timer(create(nullptr, FALSE, nullptr));
    if (!timer) return {};
    LARGE_INTEGER due;
    due.QuadPart = dueTime;
    auto* set = bound<decltype(::SetWaitableTimer)>(SystemFunction::SetWaitableTimer);
    if (!set(timer.get(), &due, 0, nullptr, nullptr, FALSE)) return {};
    return timer;
}

// Waits on the clock until `deadline` (GetTickCount64 time), handling events.
void waitUntil(EventPump& pump, ULONGLONG deadline) {
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return;
        const DWORD timeout = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, INFINITE - 1));
        const DWORD woke = MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout, QS_ALLINPUT);
        if (woke == WAIT_TIMEOUT) return;
        if (woke != WAIT_OBJECT_0) return;  // the wait itself failed: give up rather than spin
        pump.processPending();
        if (!pump.windowOpen()) return;
    }
}

// Waits until the timer fires, handling events in between.
void waitForTimer(EventPump& pump, HANDLE timer, ULONGLONG deadline) {
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) return;
        if (woke != WAIT_OBJECT_0 + 1) {
            waitUntil(pump, deadline);
            return;
        }
        pump.processPending();
        // The window closed during the wait: nothing is left to wait for.
        if (!pump.windowOpen()) return;
    }
}

}  // namespace

bool WaitResponsive(EventPump& pump, std::int64_t duration, WaitUnit unit) {
    const std::int64_t ms = waitMilliseconds(duration, unit);
    const ULONGLONG now = GetTickCount64();
    const ULONGLONG deadline =
        static_cast<ULONGLONG>(ms) > ~now ? ~0ULL : now + static_cast<ULONGLONG>(ms);
    if (KernelHandle timer = startTimer(relativeDueTime(duration, unit))) {
        waitForTimer(pump, timer.get(), deadline);
    } else {
        waitUntil(pump, deadline);
    }
    return true;
}

}  // namespace velmora::ui
