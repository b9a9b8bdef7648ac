// The exit clean-up routine and the last chance before an unhandled crash.
#pragma once

namespace velmora::app {

using CleanupRoutine = void (*)();

// Registered at start; runExitCleanup() runs it once at the normal end. A
// fatal error ends the process without it.
void registerExitCleanup(CleanupRoutine routine);
void runExitCleanup();

// A process that dies of an unhandled exception first switches the system
// proxy off, so that it never leaves Windows pointing at one of its proxies.
void installLastChanceHandler();

}  // namespace velmora::app
