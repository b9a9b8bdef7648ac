// The worker threads a window started: each runs one piece of work and ends;
// closing the window gives those still running a moment to end.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>

namespace velmora::ui {

class WindowWorkers {
public:
    // `reportFailure` runs on a worker whose work gave up on an exception.
    explicit WindowWorkers(std::function<void()> reportFailure = {})
        : reportFailure_(std::move(reportFailure)) {}
    WindowWorkers(const WindowWorkers&) = delete;
    WindowWorkers& operator=(const WindowWorkers&) = delete;

    // Runs `work` on a new thread with the default stack size. Nothing may
    // escape it: a worker that throws is reported and ends. Returns whether
    // the thread was created.
    bool start(std::function<void()> work);

    // Waits at most `milliseconds` for the running workers to end; returns
    // whether none is left. Those still running (a request that hangs) end
    // with the process.
    bool waitForAll(unsigned milliseconds);

private:
    void ended();

    std::function<void()> reportFailure_;
    std::mutex mutex_;
    std::condition_variable allEnded_;
    int running_ = 0;
};

}  // namespace velmora::ui
