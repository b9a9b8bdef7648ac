// The exit clean-up routine.
#pragma once

namespace velmora::app {

using CleanupRoutine = void (*)();

// Registered at start; runExitCleanup() runs it once at the normal end. A
// fatal error ends the process without it.
void registerExitCleanup(CleanupRoutine routine);
void runExitCleanup();

}  // namespace velmora::app
