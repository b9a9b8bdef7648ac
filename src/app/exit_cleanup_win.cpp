#include "app/exit_cleanup.h"

#include <windows.h>

#include <atomic>

#include "ui/handlers.h"

namespace velmora::app {

namespace {

std::atomic<CleanupRoutine> gCleanup{nullptr};
std::atomic<bool> gCrashHandled{false};

LONG WINAPI lastChance(EXCEPTION_POINTERS*) {
    // Only the first crashing thread tries; a crash inside the switch-off
    // itself must not loop.
    if (!gCrashHandled.exchange(true)) {
        try {
            CancelSystemProxy();
        } catch (...) {
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void registerExitCleanup(CleanupRoutine routine) { gCleanup.store(routine); }

void runExitCleanup() {
    if (CleanupRoutine routine = gCleanup.exchange(nullptr)) routine();
}

void installLastChanceHandler() { SetUnhandledExceptionFilter(lastChance); }

}  // namespace velmora::app
