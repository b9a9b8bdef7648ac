// The window's worker bookkeeping: the end of the program waits for workers
// that end and gives up on one that does not.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>

#include "ui/workers_win.h"

namespace velmora::ui {
namespace {

TEST(WindowWorkers, WaitCoversEveryWorkerAndGivesUpOnAHangingOne) {
    std::atomic<int> failures{0};
    WindowWorkers workers([&failures] { ++failures; });
    EXPECT_TRUE(workers.waitForAll(0));

    std::atomic<int> done{0};
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(workers.start([&done] {
            Sleep(20);
            ++done;
        }));
    }
    EXPECT_TRUE(workers.waitForAll(5000));
    EXPECT_EQ(done.load(), 8);

    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(release, nullptr);
    ASSERT_TRUE(workers.start([release] { WaitForSingleObject(release, INFINITE); }));
    // A worker that throws is reported and has ended all the same.
    ASSERT_TRUE(workers.start([] { throw std::runtime_error("worker failed"); }));
    EXPECT_FALSE(workers.waitForAll(50));
    SetEvent(release);
    EXPECT_TRUE(workers.waitForAll(5000));
    EXPECT_EQ(failures.load(), 1);
    CloseHandle(release);
}

// "None left" means the work's captures are gone too: they may hold what
// the end of the program is about to release.
TEST(WindowWorkers, AWorkerEndsOnlyOnceItsCapturesAreGone) {
    struct SlowToRelease {
        std::atomic<bool>* released = nullptr;
        ~SlowToRelease() {
            if (released == nullptr) return;
            Sleep(100);
            released->store(true);
        }
    };
    std::atomic<bool> released{false};
    WindowWorkers workers;
    auto capture = std::make_shared<SlowToRelease>();
    capture->released = &released;
    ASSERT_TRUE(workers.start([capture] {}));
    capture.reset();
    EXPECT_TRUE(workers.waitForAll(5000));
    EXPECT_TRUE(released.load());
}

}  // namespace
}  // namespace velmora::ui
