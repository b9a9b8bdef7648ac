#include "ui/workers_win.h"

#include <windows.h>

#include <chrono>
#include <memory>
#include <new>

namespace velmora::ui {

namespace {

struct ThreadStart {
    std::function<void()> work;
    WindowWorkers* owner;
    void (*failed)(WindowWorkers&);
    void (*ended)(WindowWorkers&);
};

DWORD WINAPI threadEntry(LPVOID parameter) {
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
    WindowWorkers& owner = *start->owner;
    const auto ended = start->ended;
    try {
        start->work();
    } catch (...) {
        // Only exhaustion (memory, threads, handles) gets this far: the
        // work is given up, and the user learns that it did not finish.
        start->failed(owner);
    }
    // The work's captures (COM objects, handles, references into the
    // window) go before the worker counts as ended: "none left" must mean
    // nothing of theirs is still alive.
    start.reset();
    ended(owner);
    return 0;
}

}  // namespace

bool WindowWorkers::start(std::function<void()> work) {
    auto* block = new (std::nothrow) ThreadStart{
        std::move(work), this,
        [](WindowWorkers& w) {
            if (w.reportFailure_) w.reportFailure_();
        },
        [](WindowWorkers& w) { w.ended(); }};
    if (block == nullptr) return false;
    {
        const std::lock_guard lock(mutex_);
        ++running_;
    }
    HANDLE thread = CreateThread(nullptr, 0, threadEntry, block, 0, nullptr);
    if (thread == nullptr) {
        delete block;
        ended();
        return false;
    }
    // The count, not the handle, tells when the thread is done.
    CloseHandle(thread);
    return true;
}

void WindowWorkers::ended() {
    const std::lock_guard lock(mutex_);
    if (--running_ == 0) allEnded_.notify_all();
}

bool WindowWorkers::waitForAll(unsigned milliseconds) {
    std::unique_lock lock(mutex_);
    return allEnded_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                              [this] { return running_ == 0; });
}

}  // namespace velmora::ui
