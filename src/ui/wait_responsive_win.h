// A wait on the window thread that keeps the window handling its events.
#pragma once

#include <cstdint>

#include "ui/wait_units.h"

namespace velmora::ui {

// The window's event handling, as a wait on its thread needs it.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Handles the pending window events; handlers may run nested in it.
    virtual void processPending() = 0;
    // False once the window is gone.
    virtual bool windowOpen() = 0;
};

// Waits `duration` units on a waitable timer, processing `pump`'s events
// whenever they arrive, so handlers may run nested inside the wait. Without
// a usable timer it waits the same time on the clock instead. It ends early
// when the window closes during the wait. Returns true.
bool WaitResponsive(EventPump& pump, std::int64_t duration, WaitUnit unit = WaitUnit::Milliseconds);

}  // namespace velmora::ui
