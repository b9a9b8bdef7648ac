#include "ui/window_tasks_win.h"

#include <algorithm>

#include "ui/ids.h"

namespace velmora::ui {

void WindowTasks::attach(HWND window) {
    window_ = window;
    windowThread_ = GetWindowThreadProcessId(window, nullptr);
    doorbell_ = RegisterWindowMessageW(kWindowTasksMessage);
    open_.store(doorbell_ != 0);
}

bool WindowTasks::run(const std::function<void()>& work) {
    if (!open()) return false;
    if (GetCurrentThreadId() == windowThread_) {
        work();
        return true;
    }
    Task task{&work};
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(&task);
    }
    // Returns once the window thread has answered the doorbell, which it
    // does only after running what waits; or at once, and without an
    // answer, when the window is gone.
    SendMessageW(window_, doorbell_, 0, 0);
    std::unique_lock lock(mutex_);
    if (task.state == State::Waiting) {
        // Never taken: the window is gone. The task lives on this stack, so
        // it must not stay in the queue.
        waiting_.erase(std::find(waiting_.begin(), waiting_.end(), &task));
        return false;
    }
    // A task that runs a nested message loop (a dialog) lets a later ring be
    // answered before it ends.
    done_.wait(lock, [&] { return task.state != State::Running; });
    return task.state == State::Done;
}

void WindowTasks::runWaiting() {
    for (;;) {
        Task* task = nullptr;
        {
            const std::lock_guard lock(mutex_);
            if (waiting_.empty()) return;
            task = waiting_.front();
            waiting_.pop_front();
            task->state = State::Running;
        }
        // Rung while the window was being destroyed, nothing is left to act
        // on: the task is refused.
        bool done = false;
        if (open()) {
            try {
                (*task->work)();
                done = true;
            } catch (...) {
                // Out of memory on the way: the caller gets its fallback, as
                // it does once the window is gone.
            }
        }
        {
            const std::lock_guard lock(mutex_);
            task->state = done ? State::Done : State::Refused;
        }
        // The task may be gone from here on: its sender wakes and returns.
        done_.notify_all();
    }
}

}  // namespace velmora::ui
