// A wait on the window thread that keeps the window handling its events.
#pragma once

#include <cstdint>

#include "actions/wait_units.h"

namespace velmora::actions {

// Waits `duration` units on a waitable timer, processing window events
// whenever they arrive, so handlers may run nested inside the wait. Without
// a usable timer it waits the same time on the clock instead. It ends early
// when the window closes during the wait. Returns true.
bool WaitResponsive(std::int64_t duration, WaitUnit unit = WaitUnit::Milliseconds);

}  // namespace velmora::actions
