#include "app/exit_cleanup.h"

#include <atomic>

namespace velmora::app {

namespace {

std::atomic<CleanupRoutine> gCleanup{nullptr};

}  // namespace

void registerExitCleanup(CleanupRoutine routine) { gCleanup.store(routine); }

void runExitCleanup() {
    if (CleanupRoutine routine = gCleanup.exchange(nullptr)) routine();
}

}  // namespace velmora::app
