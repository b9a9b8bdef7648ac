// Work that other threads hand to the window thread, and wait for.
//
// The tasks wait in a queue the window owns; the message that rings for them
// carries nothing, so a message from another process, whatever its
// parameters, can at most make the window look at an empty queue.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace velmora::ui {

class WindowTasks {
public:
    // Registers the doorbell message; call once, on the window thread.
    void attach(HWND window, DWORD windowThread);
    UINT doorbell() const { return doorbell_; }

    // Runs `work` on the window thread and returns once it has run: at once
    // on the window thread itself, otherwise by ringing the window and
    // waiting. False, with nothing run, when the window is gone before it
    // could take the work.
    bool run(const std::function<void()>& work);

    // The doorbell rang: runs every task waiting (window thread only).
    void runWaiting();

private:
    enum class State { Waiting, Running, Done };
    struct Task {
        const std::function<void()>* work;
        State state = State::Waiting;
    };

    UINT doorbell_ = 0;
    HWND window_ = nullptr;
    DWORD windowThread_ = 0;
    std::mutex mutex_;
    std::condition_variable done_;
    std::deque<Task*> waiting_;
};

}  // namespace velmora::ui
