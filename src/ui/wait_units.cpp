#include "ui/wait_units.h"

#include <limits>

namespace velmora::ui {

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

std::int64_t unitMilliseconds(WaitUnit unit) {
    switch (unit) {
        case WaitUnit::Milliseconds:
            return 1;
        case WaitUnit::Seconds:
            return 1'000;
        case WaitUnit::Minutes:
            return 60'000;
        case WaitUnit::Hours:
            return 3'600'000;
    }
    return 1;
}

}  // namespace

std::int64_t waitMilliseconds(std::int64_t duration, WaitUnit unit) {
    if (duration <= 0) return 0;
    const std::int64_t unitMs = unitMilliseconds(unit);
    return duration > kMax / unitMs ? kMax : duration * unitMs;
}

std::int64_t relativeDueTime(std::int64_t duration, WaitUnit unit) {
    constexpr std::int64_t kStepsPerMs = 10'000;
    const std::int64_t ms = waitMilliseconds(duration, unit);
    return ms > kMax / kStepsPerMs ? -kMax : -(ms * kStepsPerMs);
}

}  // namespace velmora::ui
