// Work that other threads hand to the window thread, and wait for.
//
// The tasks wait in a queue the window owns; the message that rings for them
// carries nothing, so a message from another process, whatever its
// parameters, can at most make the window look at an empty queue. Once the
// window is gone nothing more runs, and a caller gets its fallback.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>

namespace velmora::ui {

class WindowTasks {
public:
    // Registers the doorbell message and starts taking work; call on the
    // window thread once the window exists.
    void attach(HWND window);
    // The window is being destroyed: work handed in from now on is refused.
    void detach() { open_.store(false); }
    bool open() const { return open_.load(); }
    UINT doorbell() const { return doorbell_; }

    // Runs `work` on the window thread and returns once it has run: at once
    // on the window thread itself, otherwise by ringing the window and
    // waiting. False, with nothing run, when the window is gone before it
    // could take the work.
    bool run(const std::function<void()>& work);

    // `operation`'s result, computed on the window thread; `fallback` once
    // the window is gone.
    template <typename R, typename F>
    R call(R fallback, F&& operation) {
        R result = std::move(fallback);
        run([&] { result = operation(); });
        return result;
    }

    // The doorbell rang: runs every task waiting (window thread only).
    void runWaiting();

private:
    enum class State { Waiting, Running, Done, Refused };
    struct Task {
        const std::function<void()>* work;
        State state = State::Waiting;
    };

    UINT doorbell_ = 0;
    HWND window_ = nullptr;
    DWORD windowThread_ = 0;
    std::atomic<bool> open_{false};
    std::mutex mutex_;
    std::condition_variable done_;
    std::deque<Task*> waiting_;
};

}  // namespace velmora::ui
