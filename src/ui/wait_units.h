// The length of a responsive wait in the units it is given in, turned into
// the forms the waits take: milliseconds for the clock, and a waitable
// timer's relative due time.
#pragma once

#include <cstdint>

namespace velmora::ui {

enum class WaitUnit : int { Milliseconds = 0, Seconds = 1, Minutes = 2, Hours = 3 };

// The relative due time of a waitable timer for the wait: a negative count of
// 100-nanosecond steps, saturated at the 64-bit range; 0 for no wait.
std::int64_t relativeDueTime(std::int64_t duration, WaitUnit unit);

// The wait in milliseconds, saturated; 0 for a negative duration.
std::int64_t waitMilliseconds(std::int64_t duration, WaitUnit unit);

}  // namespace velmora::ui
